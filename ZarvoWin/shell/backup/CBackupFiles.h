#pragma once
#include <QChar>
#include <QDateTime>
#include <QString>

class CConfiguration;

// Backups of a user's database: files "<base>_<kind><stamp><extension>" in
// the user's folder below the backup root, where the base and extension are
// those of the database file ("Zarvo", ".sdb"), the kind is 'A' (automatic)
// or 'M' (manual) and the stamp is the local time of the copy as fourteen
// digits, YYYYMMDDhhmmss. The backup list reads the same names.
class CBackupFiles
{
public:
    static constexpr QChar Automatic = u'A';
    static constexpr QChar Manual = u'M';
    // Clashing names are avoided by moving the stamp on by one second, at
    // most this many times.
    static constexpr int MaxClashes = 20;

    static QString FileName(const QString &baseName, QChar kind, const QDateTime &local, const QString &extension);
    // Reads the stamp of a backup name. Only names of exactly the form above
    // count: anything else (another base, kind or extension, a stamp that is
    // not fourteen digits or no real time) is no backup and gives false.
    static bool ReadStamp(const QString &fileName, const QString &baseName, QChar kind, const QString &extension,
                          QDateTime &stamp);
    // The user's backup folder, ending with "/": the root and the user's
    // name. Empty when the name could not be a folder name of ours.
    static QString UserFolder(const QString &root, const QString &userName);

    struct Request
    {
        QString databasePath; // the user's database (full path)
        QString userName;
        bool automatic = true;
        bool checkDue = false; // automatic only: copy when due, then prune
    };
    // Copies the database when the settings allow it (and, with a due check,
    // when the last automatic copy is older than the backup period); true
    // when a copy was made. The copy goes through the online backup, so a
    // database being written is copied whole.
    static bool Make(const CConfiguration &settings, const Request &request);

    // The latest stamp (in Unix seconds) of the user's automatic backups,
    // stamps later than `now` left out; false when there is none.
    static bool LatestAutomatic(const QString &folder, const QString &baseName, const QString &extension, qint64 now,
                                qint64 &latest);
    // Deletes the automatic backups stamped before `before`; manual ones and
    // files of any other name stay.
    static void PruneAutomatic(const QString &folder, const QString &baseName, const QString &extension,
                               qint64 before);
};
