#include "CImgFromListe.h"

#include "ImageList.h"

#include <QPainter>

CImgFromListe::CImgFromListe(QWidget *parent)
    : QWidget(parent)
{
}

void CImgFromListe::SetImageList(const ImageList *list)
{
    m_list = list;
    updateGeometry();
    update();
}

void CImgFromListe::SetImage(int index)
{
    if (m_index == index)
        return;
    m_index = index;
    update();
}

QSize CImgFromListe::sizeHint() const
{
    const int side = m_list ? m_list->CellSize() : 16;
    return QSize(side, side);
}

void CImgFromListe::paintEvent(QPaintEvent *)
{
    if (!m_list || m_index < 0)
        return;
    const int side = m_list->CellSize();
    const QRect r = rect();
    QPainter painter(this);
    m_list->Draw(painter, m_index, QPoint(r.left() + (r.width() - side) / 2, r.top() + (r.height() - side) / 2));
}
