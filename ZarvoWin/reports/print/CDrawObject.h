#pragma once

#include "CBorderLine.h"
#include "tBand.h"
#include "tColumn.h"
#include "tDrawContext.h"
#include "tDrawTextStyle.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <Qt>

#include <vector>

class QColor;
class QIODevice;
class QPainter;

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

    // The height in pixels the object needs in `band` for the cell texts
    // and columns: 0 but for data lines.
    virtual int Measure(const tDrawContext &context, const tBand &band, const QStringList *texts,
                        const std::vector<tColumn> *columns) const;
    // Draws the object into `band` with the context's painter; a data line
    // taller than the band pushes the band's bottom down. `indent` is the
    // nesting level of the label or first cell (two spaces a level).
    virtual void Draw(const tDrawContext &context, tBand &band, const QStringList *texts,
                      const std::vector<tColumn> *columns, int indent) = 0;
    // A data line keeps its font between these two calls, for a whole page
    // of lines; other objects have nothing to keep.
    virtual void CreateResources(const tDrawContext &context);
    virtual void ReleaseResources();

    // The object's rectangle within a band (right and bottom exclusive),
    // held inside the band.
    tBand ObjectRect(const tDrawContext &context, const tBand &band) const;

    // A template colour (0x00BBGGRR).
    static QColor ToColour(int colour);
    // The pen style of a template style number: 0 solid, 1 dash, 2 dot,
    // 3 dash-dot, 4 dash-dot-dot, 5 none; other numbers draw solid.
    static Qt::PenStyle ToPenStyle(int style);
    // The Qt alignment of a template text format: 1 centred, 2 right,
    // 4 vertically centred, 8 bottom.
    static Qt::Alignment ToAlignment(int format);

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

    // The border's sides around `rect`, one pixel wide at most.
    void DrawBorder(const tDrawContext &context, const tBand &rect) const;
    // The fill, when the object has one.
    void DrawFill(const tDrawContext &context, const tBand &rect) const;
    // A line from one point to another, the last point left out.
    static void DrawSegment(QPainter &painter, int x1, int y1, int x2, int y2);

    // The 12 geometry tokens as written: "%d;...;%d".
    QString GeometryLine() const;
    // Reads the 10 text tokens from `first` into `style`.
    void ReadTextTokens(const QStringList &tokens, qsizetype first, tDrawTextStyle &style);
    // The 10 text tokens as written, the label with "\n" for line breaks.
    static QString TextLine(const tDrawTextStyle &style);

private:
    int m_kind;
};
