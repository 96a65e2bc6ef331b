#include "UTF8MBSTR.h"

namespace SQLite {

UTF8MBSTR::UTF8MBSTR(QStringView wide)
{
    ToUtf8(wide, m_bytes);
}

int UTF8MBSTR::ToUtf8(QStringView wide, QByteArray &out)
{
    out = wide.toUtf8();
    return static_cast<int>(wide.size());
}

} // namespace SQLite
