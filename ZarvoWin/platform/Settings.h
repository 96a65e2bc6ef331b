#pragma once
#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace Platform {

// The program's settings store: an INI file shared by both programs
// (organisation "Quellmark", application "Zarvo"; on Linux
// ~/.config/Quellmark/Zarvo.conf). A value is addressed by base, section
// and name, which become the key "Base/Section/Name" (without a section,
// "Base/Name").
class Settings
{
public:
    Settings();
    explicit Settings(const QString &iniPath);
    ~Settings();
    Settings(const Settings &) = delete;
    Settings &operator=(const Settings &) = delete;

    // The file used by default-constructed stores. Tests point it at a
    // folder of their own; an empty override restores the standard place.
    static QString defaultFilePath();
    static void setFilePathOverride(const QString &iniPath);

    static QString key(QStringView base, QStringView section, QStringView name);

    QString filePath() const;

    bool contains(QStringView base, QStringView section, QStringView name) const;
    // A missing value, or one that is not a whole number, reads as `def`.
    int getInt(QStringView base, QStringView section, QStringView name, int def) const;
    qint64 getInt64(QStringView base, QStringView section, QStringView name, qint64 def) const;
    QString getString(QStringView base, QStringView section, QStringView name,
                      const QString &def = QString()) const;
    // Missing values read as an empty array.
    QByteArray getBinary(QStringView base, QStringView section, QStringView name) const;

    void setInt(QStringView base, QStringView section, QStringView name, qint64 value);
    void setString(QStringView base, QStringView section, QStringView name, const QString &value);
    void setBinary(QStringView base, QStringView section, QStringView name, const QByteArray &value);

    void remove(QStringView base, QStringView section, QStringView name);
    // Removes every key that begins with `prefix` ("Workspace/" removes a
    // whole base, "Workspace/MFCToolBar" the keys whose names start so).
    void removePrefix(const QString &prefix);
    QStringList allKeys() const;

    // Writes pending changes and reads changes made by the other program.
    bool sync();

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace Platform
