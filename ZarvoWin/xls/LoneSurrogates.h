#pragma once
#include <QString>

namespace Biff8 {

// The text with every unpaired UTF-16 surrogate (a high one not followed by
// a low one, a low one not preceded by a high one) replaced by U+FFFD:
// readers refuse a whole workbook for one such unit. Well-formed text comes
// back unchanged (and shared, without a copy).
QString ReplaceLoneSurrogates(const QString &text);

} // namespace Biff8
