#include "FileCommit.h"

#include <QSaveFile>

namespace Platform {

namespace {

FileCommit::Fault &fault()
{
    static FileCommit::Fault installed;
    return installed;
}

} // namespace

bool FileCommit::commit(QSaveFile &file)
{
    if (fault() && fault()(file.fileName())) {
        file.cancelWriting();
        // Closing after the cancel removes the temporary file, as a refused
        // replacement leaves none.
        file.commit();
        return false;
    }
    return file.commit();
}

void FileCommit::setFault(Fault fault_)
{
    fault() = std::move(fault_);
}

} // namespace Platform
