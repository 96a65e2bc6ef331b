#pragma once
#include <QImage>
#include <QPixmap>
#include <QWidget>

// A picture with one transparent colour: the image is drawn over the
// whole control, scaled to it, with the pixels of the transparent colour
// left out so the window behind shows through. An icon is drawn instead
// at the top-left corner at its own size. With neither, nothing is drawn.
class CTransparentImage : public QWidget
{
    Q_OBJECT
public:
    explicit CTransparentImage(QWidget *parent = nullptr);

    // 0x00BBGGRR; magenta until set.
    void SetTransparentColor(quint32 colour);
    quint32 TransparentColor() const { return m_transparent; }
    void SetImage(const QImage &image);
    void SetIcon(const QPixmap &icon);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The image at the control's size with its mask, made again only
    // when the image, the colour or the size change.
    const QPixmap &Masked();

    quint32 m_transparent = 0xFF00FF;
    QImage m_image;
    QPixmap m_icon;
    QPixmap m_masked;
};
