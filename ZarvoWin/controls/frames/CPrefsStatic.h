#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

// The caption band above the pages of a settings frame: a gradient from
// the button face at the right edge to black at the left, a constant text
// embossed at the right (the program's name), and the page's caption at
// the left in the band's own font and text colour.
//
// The background is a picture made for the band's size and kept until the
// size, the constant text or the palette change.
class CPrefsStatic : public QWidget
{
    Q_OBJECT
public:
    explicit CPrefsStatic(QWidget *parent = nullptr);

    // The caption; setting it repaints the whole band.
    void SetText(const QString &text);
    QString Text() const { return m_text; }
    // The text embossed at the right.
    void SetConstantText(const QString &text);
    QString ConstantText() const { return m_constantText; }

    // The caption's font: a face (empty: the parent's font, as it stands),
    // a pixel height (12 until set) and a weight (400 until set, 700 bold).
    void SetFontFace(const QString &face);
    void SetFontHeight(int pixels);
    void SetFontWeight(int weight);
    QFont CaptionFont() const;
    // The caption's colour (0x00BBGGRR); the button face until set.
    void SetTextColor(quint32 colour);
    QColor TextColor() const;

    // The background of a band `width` x `height`: bands of width/128
    // pixels (at least 1) from the right, band k (from 1) of the face
    // colour scaled by 1 - (k*b)^2 / width^2; black where the bands stop.
    // The constant text, when given, is drawn in at the right: once in
    // `light` one pixel right and down, then in `dark` in place.
    static QImage MakeBackground(const QSize &size, const QColor &face, const QString &constantText,
                                 const QFont &font, const QColor &light, const QColor &dark);
    // One component of band k.
    static int BandComponent(int component, int k, int bandWidth, int width);

    // The background as it is kept (null before the first paint).
    const QPixmap &Background() const { return m_background; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QFont ConstantFont() const;

    QString m_text;
    QString m_constantText;
    QString m_face;
    int m_height = 12;
    int m_weight = 400;
    quint32 m_textColour = 0;
    bool m_textColourSet = false;
    QPixmap m_background;
};
