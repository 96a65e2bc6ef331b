#pragma once
#include <QByteArray>
#include <QChar>
#include <QString>

class QTextDocument;

// Reads the rich text that the program's text files and notes hold into a
// QTextDocument: paragraphs and their alignment, bold, italic, underline,
// strike-out, font names and sizes, colours, "\uN" escapes (with their
// fallback characters skipped), "\'hh" escapes and 8-bit text in
// Windows-1252, nested groups. Destinations that carry no visible text
// (style sheet, document information, pictures, anything marked "\*" that is
// not understood) are skipped. A truncated file keeps what was read up to
// its end.
class RtfReader
{
public:
    // True when `data` begins like a rich-text file ("{\rtf", after an
    // optional byte-order mark and blanks).
    static bool LooksLikeRtf(const QByteArray &data);

    // Replaces the content of `document` with the rich text in `data`.
    // Returns false, leaving the document untouched, when `data` is not
    // rich text.
    static bool Read(const QByteArray &data, QTextDocument *document);

    // Replaces the content of `document` with `data` as plain text: UTF-8
    // when it is valid UTF-8 (a byte-order mark is dropped), otherwise
    // Windows-1252.
    static void ReadPlain(const QByteArray &data, QTextDocument *document);

    // Rich text when it looks like it, plain text otherwise.
    static void ReadAny(const QByteArray &data, QTextDocument *document);

    // The character of one Windows-1252 byte (the five unassigned bytes map
    // to the C1 controls of the same value, as the code page's best fit does).
    static QChar FromWindows1252(unsigned char byte);
};
