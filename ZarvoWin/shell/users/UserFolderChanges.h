#pragma once
#include <QString>

#include <functional>

struct tUsers;

// The folder work of renaming and copying a user, kept to the users' own
// folders: a folder is only touched when it is a direct child of the users
// folder, reached without links. None of these shows a message.
namespace UserFolderChanges {

// True when `folder` is a direct child of the users folder `usersRoot`,
// with no link on the way (it need not exist).
bool IsUserFolder(const QString &usersRoot, const QString &folder);

// True when both paths name one existing folder (as a case-only rename
// does on a mount that ignores case).
bool SameFolder(const QString &a, const QString &b);

// Moves the user's folder `from` to `to`, both direct children of the
// users folder. When the two names differ only in letter case (on a file
// system that ignores case, the same folder), the move goes through a
// temporary name. False (nothing moved) on failure.
bool RenameFolder(const QString &usersRoot, const QString &from, const QString &to);

// For tests: asked before each rename of RenameFolder (names within the
// users folder); returning true makes that rename fail. Unset in the
// program.
using RenameFault = std::function<bool(const QString &from, const QString &to)>;
void SetRenameFault(RenameFault fault);

// Takes away what a failed copy of a user left in the new user's folder
// (the database and report copies with their journals and parts), then
// the folder when nothing else is in it. True when the folder is gone.
bool RemoveFailedCopy(const QString &usersRoot, const tUsers &target);

// The files of a copied user: the database through SQLite's backup (one
// consistent state while another program writes), and the report
// definitions when the source has them (a stale copy at the target is
// removed otherwise). False when any of it failed.
bool CopyUserFiles(const tUsers &source, const tUsers &target);

} // namespace UserFolderChanges
