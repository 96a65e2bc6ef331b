#pragma once
#include <QString>
#include <functional>

class QSaveFile;

namespace Platform {

// The last step of writing a file through QSaveFile: the finished file
// replaces the target, or the target is left as it was and nothing of the
// new one remains. Every file the program writes whole (exports) ends
// here, so that tests can make that step fail on any file system, as a
// target that cannot be replaced (locked, immutable, held) makes it fail.
class FileCommit
{
public:
    // Commits `file`; false when the target was not replaced (the
    // temporary file is then removed).
    static bool commit(QSaveFile &file);

    // Failure injection for tests: asked with the target's path before
    // each commit; true makes that commit fail. Unset in the program.
    using Fault = std::function<bool(const QString &path)>;
    static void setFault(Fault fault);
};

} // namespace Platform
