#pragma once

#include "CBorderLine.h"
#include "tDrawTextStyle.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QIODevice;

// One drawing object of a report template section. Lengths are tenths of a
// millimetre of paper; the horizontal offset and width are thousandths of
// the available width when the per-mille flag is set. Colours are 0x00BBGGRR.
class CDrawObject
{
public:
    enum Kind { KindLine = 0, KindBox = 1, KindText = 2, KindDataLine = 3, KindImage = 4 };
    enum Anchor { AnchorLeft = 0, AnchorRight = 1, AnchorCentre = 2 };

    virtual ~CDrawObject();
    CDrawObject(const CDrawObject &) = delete;
    CDrawObject &operator=(const CDrawObject &) = delete;

    int GetKind() const { return m_kind; }

    // Sets the fields from the tokens of the object's template line (the
    // value after "key="): every field the tokens cover is set, a missing
    // token reading 0, false or "". `folder` is the template's folder, which
    // an image records.
    virtual void ReadTokens(const QStringList &tokens, const QString &folder);
    // The object's template line, ending with a line feed.
    virtual QString GetLine() const = 0;
    // Writes GetLine in Windows-1252.
    void WriteLine(QIODevice &file) const;

    // Text accessors: the fields of texts and data lines; other objects read
    // "", 0 or false and ignore the setters. SetText turns each "\n" into a
    // line feed.
    QString GetText() const;
    void SetText(const QString &text);
    QString GetFontName() const;
    void SetFontName(const QString &name);
    int GetFontSize() const;
    void SetFontSize(int size);
    bool GetBold() const;
    void SetBold(bool on);
    bool GetItalic() const;
    void SetItalic(bool on);
    bool GetUnderline() const;
    void SetUnderline(bool on);
    bool GetStrikeOut() const;
    void SetStrikeOut(bool on);
    int GetTextColor() const;
    void SetTextColor(int colour);
    int GetTextFormat() const;
    void SetTextFormat(int format);
    int GetMargin() const;
    void SetMargin(int margin);

    int Top = 0;
    int Height = 100;
    bool PerMille = false;
    int HorizontalAnchor = AnchorLeft;
    int Offset = 0;
    int Width = 100;
    CBorderLine Border;
    bool Fill = false;
    int FillColour = 0xFF0000;

protected:
    explicit CDrawObject(int kind) : m_kind(kind) {}

    // The text fields, or none for objects without text.
    virtual tDrawTextStyle *TextStyle() { return nullptr; }
    const tDrawTextStyle *TextStyle() const { return const_cast<CDrawObject *>(this)->TextStyle(); }

    // The 12 geometry tokens as written: "%d;...;%d".
    QString GeometryLine() const;
    // Reads the 10 text tokens from `first` into `style`.
    void ReadTextTokens(const QStringList &tokens, qsizetype first, tDrawTextStyle &style);
    // The 10 text tokens as written, the label with "\n" for line breaks.
    static QString TextLine(const tDrawTextStyle &style);

private:
    int m_kind;
};
