#pragma once
#include <QString>

class CLanguageSelector;
class CUsers;
struct tUsers;

// The files of a user being created by the wizards and the user dialogs.
// None of these shows a message; each tells whether it worked.
namespace NewUserFiles {

// The longest name a user can be given (the name fields hold no more).
constexpr int MaxNameLength = 64;

// The first character of `name` that no folder name may hold on the file
// systems a users folder, a network folder or a device's card may sit on:
// " * / : < > ? \ | and the control characters; a null QChar when none.
QChar ForbiddenCharacter(const QString &name);

// Why `user` cannot be given its name as it was typed, in a message that
// names what is wrong: an empty name (174), a name starting with "." (a
// hidden folder, "." and ".." among them), a character no folder name may
// hold (named), one that cannot be a folder's name for another reason, or
// one another user has, whatever the letter case (175). Empty when the
// name will do. The name is never changed to make it do.
QString NameRefusal(const CUsers &users, const tUsers &user);

// Makes the user's folder below the users folder when missing, entered by
// its owner alone (an existing folder keeps its rights); true when it
// exists afterwards.
bool MakeFolder(const tUsers &user);

// Gives the user the sample data of the interface language (the English
// ones when the language has none): the sample database, checked, written
// into the user's database (made first when missing, possibly open) through
// SQLite's backup and moved to the present; then the sample report
// definitions copied over the user's. False when any of it failed or the
// sample report definitions are missing. Callers use it only for a
// database they have just made: one that was there before is the user's and
// is never replaced.
bool ImportSample(const CLanguageSelector &languages, const tUsers &user);

// Copies a database file (which may be open and written) to `target`
// through SQLite's backup, into a temporary name moved over the target
// when whole.
bool CopyDatabase(const QString &source, const QString &target);

} // namespace NewUserFiles
