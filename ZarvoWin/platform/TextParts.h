#pragma once
#include <QString>
#include <QStringList>

namespace Platform {

// The parts of `text` between occurrences of `separator`. The part after the
// last separator (possibly empty) is always there, so a text without the
// separator gives one part. An empty separator gives the whole text.
QStringList SplitString(const QString &text, const QString &separator);
// The same into `parts`, which is emptied first.
void SplitStringInto(const QString &text, const QString &separator, QStringList &parts);

// Part `index` of `parts` as a number: 0 past the end; a part written
// "0xRRGGBB" (blanks around it ignored) is a colour stored as
// red + green*256 + blue*65536, from the hexadecimal digits that are there
// (a missing pair counts 0); any other part reads as a decimal number.
void ParseIntOrColor(const QStringList &parts, int index, int &value);

} // namespace Platform
