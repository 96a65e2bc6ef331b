#pragma once
#include <QByteArray>
#include <QRect>
#include <QString>
#include <memory>

class QPaintDevice;
class QPainter;
class QTextDocument;

// Draws a rich-text document into any paint device (screen, image, printer)
// without a window: load a file, measure the size the text needs at a given
// width, draw it into a rectangle. Measuring and drawing lay the text out for
// the device they are given, so a text drawn on the device it was measured on
// takes exactly the measured size. A file that is not rich text is shown as
// plain text.
class CRichDrawText
{
public:
    CRichDrawText();
    ~CRichDrawText();
    CRichDrawText(const CRichDrawText &) = delete;
    CRichDrawText &operator=(const CRichDrawText &) = delete;

    // Reads the file into the document. False when the file cannot be read;
    // the document is then empty and measures as nothing.
    bool LoadFile(const QString &path);
    // Reads rich or plain text held in memory.
    void LoadData(const QByteArray &data);
    // True when a text was loaded that has something to show.
    bool HasText() const;

    // The natural size of the text within the width of `rect`, laid out for
    // `device`: right = left + the width used, bottom = top + the height.
    // With nothing to show, or no device, or no width, the rectangle
    // collapses to its top-left corner so that nothing is reserved.
    void FitRect(QPaintDevice *device, QRect &rect);
    // Draws the text in `rect` (wrapped at its width, clipped to it) on the
    // painter's device.
    void Draw(QPainter *painter, const QRect &rect);

    QTextDocument *Document() const { return m_document.get(); }

    // The default character height in twips: 20 times the point size of the
    // desktop's message font.
    static int DefaultCharHeightTwips();

private:
    void ApplyDefaults();
    void LayoutFor(QPaintDevice *device, int width);

    std::unique_ptr<QTextDocument> m_document;
    bool m_loaded = false;
};
