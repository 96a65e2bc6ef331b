#pragma once
#include <QString>
#include <functional>

// Takes an updated copy of a user's database that another party dropped in a
// shared folder ("<share>/<user>/Zarvo.sdb") and installs it over the local
// database, unless the local one holds changes not passed on yet or the two
// schema versions differ. Shows nothing: the outcome says what to tell.
//
// The copy is taken first into a private temporary folder, checked there,
// and the checked copy is what gets installed, through the online backup into
// the open database (all or nothing). The share copy is removed only when it
// is still the file that was copied (same size and time).
class CNetworkUpdate
{
public:
    enum class Outcome {
        NotConfigured,    // no shared folder set
        FolderMissing,    // the shared folder does not exist
        NoUser,           // no current user
        LocalChanges,     // the local database holds unsent changes
        NothingAvailable, // no copy, or it could not be copied or read
        VersionDiffers,   // another schema version than the local database
        ReplaceFailed,    // the local database could not be replaced
        Updated,
    };
    // The text that tells the outcome, 0 for none.
    static int TextId(Outcome outcome);
    static QString Text(Outcome outcome);

    struct Request
    {
        QString shareFolder;   // the setting Lan\Rep
        QString userName;      // empty: no current user
        QString localDatabase; // the current user's database
    };
    struct Steps
    {
        // Makes the automatic backup of the local database when one is due.
        std::function<void()> backupIfDue;
        // Rebuilds everything held in memory from the replaced database.
        std::function<void()> reloadReplaced;
    };
    static Outcome Run(const Request &request, const Steps &steps);

    // "<share>/<user>/Zarvo.sdb".
    static QString SharedCopyPath(const QString &shareFolder, const QString &userName);
};
