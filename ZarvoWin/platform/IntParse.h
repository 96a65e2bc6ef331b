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

// A floating-point number read with the same leniency and always with the
// C conventions (decimal point), whatever the process locale: leading
// blanks, an optional sign, digits with at most one '.', an optional
// exponent, up to the first other character; 0 when there is no number.
double wtof(QStringView text);

} // namespace Platform
