#pragma once
#include "CDatabaseFile.h"

#include <QString>
#include <functional>
#include <optional>

// Takes an updated copy of a user's database that another party dropped in a
// shared folder ("<share>/<user>/Zarvo.sdb") and installs it over the local
// database, unless the local one holds changes not passed on yet or the two
// schema versions differ. Shows nothing: the outcome says what to tell.
//
// The share copy must be a whole user database of ours (checked where it
// lies, and again once copied into a private temporary folder); the checked
// copy is what gets installed, through the online backup into the open
// database (all or nothing), and only when no commit reached the local
// database since it was found without unsent changes. The share copy is
// removed only when it is still the file that was copied (same size and
// time).
class CNetworkUpdate
{
public:
    enum class Outcome {
        NotConfigured,    // no shared folder set
        FolderMissing,    // the shared folder does not exist
        NoUser,           // no current user
        LocalChanges,     // the local database holds unsent changes (or got a commit meanwhile)
        NothingAvailable, // no copy, or it could not be copied or read
        VersionDiffers,   // another schema version than the local database
        ReplaceFailed,    // a damaged or foreign copy, or the replacement failed
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

private:
    // What to answer for a copy as its check found it; none when it may be
    // installed over a local database of `localVersion`.
    static std::optional<Outcome> Refusal(const CDatabaseFile::CheckResult &candidate, int localVersion);
};
