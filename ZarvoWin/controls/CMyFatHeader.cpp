#include "CMyFatHeader.h"

CMyFatHeader::CMyFatHeader(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent)
{
}

QSize CMyFatHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(kHeight);
    return size;
}
