#pragma once
#include <QStringView>
#include <QtGlobal>

namespace Platform {

// Integer parsing with the lenient rules of the classic C runtime:
// leading blanks, an optional sign, then digits up to the first other
// character; 0 when there are no digits. Overflow saturates instead of
// being undefined.
int wtoi(QStringView text);
qint64 wtoi64(QStringView text);

} // namespace Platform
