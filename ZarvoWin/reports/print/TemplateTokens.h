#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Readers of the tokens of a report template line and the text encoding of
// template files. A token that is missing (past the end of the list) reads
// as 0, false or "".
namespace TemplateTokens {

// A decimal integer as a C integer conversion reads it: leading white space
// skipped, an optional sign, digits up to the first other character; no
// digits give 0. Values past the range of int are clamped to it.
int ToNumber(const QString &token);

// The token at `index`, or "" when the list is shorter.
QString Text(const QStringList &tokens, qsizetype index);
int Number(const QStringList &tokens, qsizetype index);
// False only for "0" or a missing token.
bool Flag(const QStringList &tokens, qsizetype index);
// "0xRRGGBB" (pairs read as red, green, blue) or a decimal 0x00BBGGRR value.
int Colour(const QStringList &tokens, qsizetype index);

// A template file's bytes as text: UTF-8 when the bytes are valid UTF-8 (a
// byte-order mark dropped), otherwise Windows-1252.
QString Decode(const QByteArray &bytes);
// Text as Windows-1252; a character the code page lacks becomes "?".
QByteArray EncodeWindows1252(const QString &text);

} // namespace TemplateTokens
