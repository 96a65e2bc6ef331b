#pragma once
#include <QString>

#include <sys/types.h>

namespace Platform {

// The rights of the copies the programs make of the user's files. A copy
// is never more open than what it was made from: a database the user made
// readable by its owner alone gives backups and working copies readable by
// the owner alone. Group and others get at most what the source gives
// them; the owner always reads and writes the copy (a working copy is
// written again, a backup restored from). The process's umask still applies
// on top, as to any file it makes.
class FileModes
{
public:
    // The mode to create a copy of `source` with; no more open than
    // `replaced` either, when that file exists (the file the copy takes the
    // place of keeps its own stricter rights). A source that cannot be
    // looked at gives the owner's rights alone.
    static mode_t ForCopy(const QString &source, const QString &replaced = QString());

    // Takes from `path` the rights of group and others that `other` lacks,
    // as when a copy comes to hold the rows of `other` too. True when
    // nothing had to be taken or the rights were set.
    static bool NoMoreOpenThan(const QString &path, const QString &other);
    // The same for a file open as `fd`, such as one written under a
    // temporary name before it takes its place.
    static bool NoMoreOpenThan(int fd, const QString &other);

    // Makes a folder that only its owner may enter (0700); the missing
    // folders above it are made under the umask, as the user's own. An
    // existing folder keeps its rights. False when the folder is not there
    // afterwards.
    static bool MakePrivateFolder(const QString &path);

    // Makes a folder of the program's own below `base`, as its cache below
    // the user's cache folder: `path` and the folders between `base` and
    // it are made, and each of them, made now or left open to others by an
    // older version, is closed to all but its owner. Nobody chose these folders, unlike those MakePrivateFolder
    // keeps as they are. `base` keeps its rights, and a link on the way
    // is left as the user made it. False when `path` is not below `base`,
    // is not there afterwards, or a folder could not be narrowed (another
    // account's).
    static bool MakeOwnFolder(const QString &base, const QString &path);
};

} // namespace Platform
