#pragma once
#include <QHeaderView>

// A column header 40 pixels high whatever its font, room for the large
// images of its columns. It draws them as the standard header does, or, with
// an image size set, at that size before the caption.
class CMyFatHeader : public QHeaderView
{
    Q_OBJECT
public:
    static constexpr int kHeight = 40;

    explicit CMyFatHeader(QWidget *parent = nullptr);

    // The side of the columns' images (their DecorationRole); 0 (the
    // default) leaves the drawing to the standard header.
    void SetImageSize(int size) { m_imageSize = size; }
    int ImageSize() const { return m_imageSize; }

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    int m_imageSize = 0;
};
