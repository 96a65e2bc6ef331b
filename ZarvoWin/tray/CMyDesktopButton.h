#pragma once
#include <QToolButton>

// A caption-style button of the tray window: flat, lit while the pointer is
// over it, showing one of two drawn glyphs (the close cross or the large
// down arrow of a menu) or, with no glyph, its icon centred.
class CMyDesktopButton : public QToolButton
{
    Q_OBJECT
public:
    enum class Glyph { None, Close, DownArrow };

    explicit CMyDesktopButton(QWidget *parent = nullptr);

    void SetGlyph(Glyph glyph);
    Glyph GetGlyph() const { return m_glyph; }
    // A caption button is drawn without a frame until the pointer is on it.
    void SetCaptionButton(bool caption);
    bool IsCaptionButton() const { return m_caption; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Glyph m_glyph = Glyph::None;
    bool m_caption = false;
};
