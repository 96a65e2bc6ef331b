#pragma once
#include <QChar>
#include <QString>
#include <QStringView>

// Page lengths are kept in tenths of a millimetre and edited in
// centimetres with two decimals. The text is read as an exact decimal, so
// that a value shown and accepted again never changes: "1,15" is 115,
// "0,29" is 29; digits past the second decimal are dropped ("1,259" is
// 125).
namespace ReportCentimetres {

// "%.2f" of tenths / 100 with `separator` as the decimal point.
QString Format(int tenths, QChar separator);
// Digits with at most one separator (`separator`, or '.' also accepted);
// false for anything else (an empty text, a sign, letters) or a value
// beyond what a length can hold.
bool Parse(QStringView text, QChar separator, int &tenths);

} // namespace ReportCentimetres
