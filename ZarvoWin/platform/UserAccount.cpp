#include "UserAccount.h"

#include <QByteArray>
#include <QFile>

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace Platform {

QString LoginName()
{
    passwd entry{};
    passwd *found = nullptr;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name
        && *found->pw_name)
        return QFile::decodeName(QByteArray(found->pw_name));
    return QString::fromLocal8Bit(qgetenv("USER"));
}

} // namespace Platform
