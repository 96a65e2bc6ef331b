#include "OptionPageTools.h"

#include "RichMessageBox.h"

#include <QComboBox>
#include <QDir>
#include <QSignalBlocker>

namespace OptionPageTools {

void FillCombo(QComboBox *combo, const QStringList &entries, const QList<int> &values, int selected)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (qsizetype i = 0; i < entries.size(); ++i)
        combo->addItem(entries[i], i < values.size() ? values[i] : int(i));
    combo->setCurrentIndex(combo->findData(selected));
}

void FillTextCombo(QComboBox *combo, const QList<Platform::TextId> &texts, const QList<int> &values,
                   int selected)
{
    QStringList entries;
    for (const Platform::TextId id : texts)
        entries << Platform::Texts::get(id);
    FillCombo(combo, entries, values, selected);
}

QString ConvertFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        if (name.isEmpty())
            break;
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(u';', Qt::SkipEmptyParts))
            patterns << (p.trimmed() == QStringLiteral("*.*") ? QStringLiteral("*") : p.trimmed());
        out << QStringLiteral("%1 (%2)").arg(name, patterns.join(u' '));
    }
    return out.join(QStringLiteral(";;"));
}

QString FolderWithSlash(const QString &folder)
{
    const QString trimmed = folder.trimmed();
    if (trimmed.isEmpty())
        return QString();
    QString clean = QDir::cleanPath(QDir::fromNativeSeparators(trimmed));
    if (!clean.endsWith(u'/'))
        clean += u'/';
    return clean;
}

int ShowPageMessage(QWidget *owner, quint32 type, const QString &text)
{
    return RichMessageBox(type, owner, text, Platform::Texts::get(128));
}

} // namespace OptionPageTools
