#include "TrayAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// The value of `key` in the group "[Desktop Entry]"; null when missing.
QString entryValue(const QByteArray &file, const QString &key)
{
    bool inGroup = false;
    for (const QByteArray &raw : file.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (!inGroup || line.startsWith(u'#'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed();
    }
    return QString();
}

} // namespace

QString TrayAutostart::EntryPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("autostart/ZarvoTray.desktop"));
}

QString TrayAutostart::ExecValue(const QString &program)
{
    if (program.isEmpty())
        return QString();
    QString quoted;
    quoted.reserve(program.size() + 8);
    quoted += u'"';
    for (QChar c : program) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QString();
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    // The Exec key is a string value, whose own escape is the backslash.
    quoted.replace(QStringLiteral("\\"), QStringLiteral("\\\\"));
    return quoted;
}

bool TrayAutostart::IsOn(const QString &program)
{
    const QString exec = ExecValue(program);
    QFile file(EntryPath());
    if (exec.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    if (entryValue(text, QStringLiteral("Hidden")) == QStringLiteral("true"))
        return false;
    if (entryValue(text, QStringLiteral("X-GNOME-Autostart-enabled")) == QStringLiteral("false"))
        return false;
    return entryValue(text, QStringLiteral("Exec")) == exec;
}

bool TrayAutostart::Set(bool on, const QString &program)
{
    const QString path = EntryPath();
    if (!on)
        return !QFileInfo::exists(path) || QFile::remove(path);
    const QString exec = ExecValue(program);
    if (exec.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=ZarvoTray\n"
                                        "Icon=zarvo\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(exec);
    file.write(text.toUtf8());
    return file.commit();
}
