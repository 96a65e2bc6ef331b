#include "Settings.h"

#include <QDir>
#include <QStandardPaths>

#include <limits>

namespace Platform {

namespace {
QString &pathOverride()
{
    static QString path;
    return path;
}
} // namespace

QString Settings::defaultFilePath()
{
    if (!pathOverride().isEmpty())
        return pathOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Quellmark/Zarvo.conf");
}

void Settings::setFilePathOverride(const QString &iniPath)
{
    pathOverride() = iniPath;
}

Settings::Settings() : Settings(defaultFilePath()) {}

Settings::Settings(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

Settings::~Settings() = default;

QString Settings::key(QStringView base, QStringView section, QStringView name)
{
    QString k;
    k.reserve(base.size() + section.size() + name.size() + 2);
    if (!base.isEmpty())
        k += base;
    if (!section.isEmpty()) {
        if (!k.isEmpty())
            k += u'/';
        k += section;
    }
    if (!name.isEmpty()) {
        if (!k.isEmpty())
            k += u'/';
        k += name;
    }
    return k;
}

QString Settings::filePath() const
{
    return m_settings->fileName();
}

bool Settings::contains(QStringView base, QStringView section, QStringView name) const
{
    return m_settings->contains(key(base, section, name));
}

qint64 Settings::getInt64(QStringView base, QStringView section, QStringView name, qint64 def) const
{
    const QVariant v = m_settings->value(key(base, section, name));
    if (!v.isValid())
        return def;
    bool ok = false;
    const qint64 n = v.toString().trimmed().toLongLong(&ok);
    return ok ? n : def;
}

int Settings::getInt(QStringView base, QStringView section, QStringView name, int def) const
{
    const qint64 v = getInt64(base, section, name, def);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return def;
    return static_cast<int>(v);
}

QString Settings::getString(QStringView base, QStringView section, QStringView name,
                            const QString &def) const
{
    const QVariant v = m_settings->value(key(base, section, name));
    if (!v.isValid())
        return def;
    if (v.metaType().id() == QMetaType::QStringList)
        return v.toStringList().join(u',');
    return v.toString();
}

QByteArray Settings::getBinary(QStringView base, QStringView section, QStringView name) const
{
    const QVariant v = m_settings->value(key(base, section, name));
    if (!v.isValid())
        return {};
    return v.toByteArray();
}

void Settings::setInt(QStringView base, QStringView section, QStringView name, qint64 value)
{
    m_settings->setValue(key(base, section, name), QString::number(value));
}

void Settings::setString(QStringView base, QStringView section, QStringView name, const QString &value)
{
    m_settings->setValue(key(base, section, name), value);
}

void Settings::setBinary(QStringView base, QStringView section, QStringView name, const QByteArray &value)
{
    m_settings->setValue(key(base, section, name), value);
}

void Settings::remove(QStringView base, QStringView section, QStringView name)
{
    m_settings->remove(key(base, section, name));
}

void Settings::removePrefix(const QString &prefix)
{
    const QStringList keys = m_settings->allKeys();
    for (const QString &k : keys) {
        if (k.startsWith(prefix))
            m_settings->remove(k);
    }
}

QStringList Settings::allKeys() const
{
    return m_settings->allKeys();
}

bool Settings::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace Platform
