#include "CViewAnimInsert.h"

#include "ColorRef.h"
#include "EntryDialogWidgets.h"

#include <QEnterEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

constexpr int IconLeft = 5;
constexpr int IconSize = 20;
constexpr int CaptionLeft = 30;
constexpr QRgb HoverBottom = qRgb(237, 245, 255);
constexpr QRgb HoverFrame = qRgb(185, 215, 252);
constexpr QRgb HighlightFill = qRgb(240, 199, 69);

QIcon ChoiceIcon(bool available)
{
    const QIcon icon = ThemeIcon(available ? "dialog-ok-apply" : "dialog-cancel");
    return icon;
}

// A bar filled and outlined inside the area; a side the area cuts off is
// not outlined.
void DrawBar(QPainter &painter, const QRect &bar, const QRect &area, const QColor &fill)
{
    const QRect shown = bar.intersected(area);
    if (shown.isEmpty())
        return;
    painter.fillRect(shown, fill);
    const QPen pen(Qt::black, 2);
    painter.setPen(pen);
    // Lines on the inner side of the bar's own edges.
    const qreal l = shown.left() + 1;
    const qreal r = shown.left() + shown.width() - 1;
    const qreal t = shown.top() + 1;
    const qreal b = shown.top() + shown.height() - 1;
    if (shown.top() == bar.top())
        painter.drawLine(QPointF(shown.left(), t), QPointF(shown.left() + shown.width(), t));
    if (shown.bottom() == bar.bottom())
        painter.drawLine(QPointF(shown.left(), b), QPointF(shown.left() + shown.width(), b));
    if (shown.left() == bar.left())
        painter.drawLine(QPointF(l, shown.top()), QPointF(l, shown.top() + shown.height()));
    if (shown.right() == bar.right())
        painter.drawLine(QPointF(r, shown.top()), QPointF(r, shown.top() + shown.height()));
}

} // namespace

CViewAnimInsert::CViewAnimInsert(QWidget *parent)
    : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    m_largeFont = font();
}

void CViewAnimInsert::Initialise(int choice, const std::vector<tTacheFull> &entries, bool available)
{
    m_choice = choice;
    m_entries = entries;
    m_available = available;
    setFocusPolicy(available ? Qt::StrongFocus : Qt::NoFocus);
    setCursor(available ? Qt::PointingHandCursor : Qt::ArrowCursor);
    if (!available)
        m_hover = false;
    Restart();
}

void CViewAnimInsert::SetLargeFont(const QFont &font)
{
    m_largeFont = font;
    updateGeometry();
    update();
}

void CViewAnimInsert::SetHighlighted(int entry)
{
    m_highlighted = entry;
    update();
}

void CViewAnimInsert::Restart()
{
    m_layout = InsertDiagram::LayOut(m_entries, size());
    m_tick = 0;
    m_paused = 0;
    update();
}

void CViewAnimInsert::Advance()
{
    bool finished = false;
    InsertDiagram::Frame(m_layout, m_choice, m_tick, &finished);
    if (!finished) {
        ++m_tick;
    } else if (++m_paused > PauseTicks) {
        Restart();
        return;
    }
    update();
}

QSize CViewAnimInsert::sizeHint() const
{
    const QFontMetrics large(m_largeFont);
    const int width = std::max(360, CaptionLeft + large.horizontalAdvance(text()) + 2 * InsertDiagram::AreaLeft);
    return {width, 130};
}

QSize CViewAnimInsert::minimumSizeHint() const
{
    const QFontMetrics large(m_largeFont);
    return {CaptionLeft + large.horizontalAdvance(text()) + InsertDiagram::AreaLeft,
            InsertDiagram::AreaTop + InsertDiagram::AreaBottom + 45};
}

void CViewAnimInsert::resizeEvent(QResizeEvent *event)
{
    QAbstractButton::resizeEvent(event);
    Restart();
}

void CViewAnimInsert::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    if (m_available && !m_hover) {
        m_hover = true;
        update();
    }
}

void CViewAnimInsert::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    if (m_hover) {
        m_hover = false;
        update();
    }
}

void CViewAnimInsert::mousePressEvent(QMouseEvent *event)
{
    if (!m_available) {
        event->ignore();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void CViewAnimInsert::keyPressEvent(QKeyEvent *event)
{
    if (!m_available) {
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

bool CViewAnimInsert::hitButton(const QPoint &pos) const
{
    return m_available && rect().contains(pos);
}

void CViewAnimInsert::paintEvent(QPaintEvent *)
{
    QPixmap canvas(size() * devicePixelRatioF());
    canvas.setDevicePixelRatio(devicePixelRatioF());
    QPainter painter(&canvas);
    const QRect all = rect();
    if (m_hover && m_available) {
        QLinearGradient gradient(all.topLeft(), all.bottomLeft());
        gradient.setColorAt(0, Qt::white);
        gradient.setColorAt(1, QColor(HoverBottom));
        painter.fillRect(all, gradient);
        painter.setPen(QPen(QColor(HoverFrame), 2));
        painter.drawRect(QRectF(all).adjusted(1, 1, -1, -1));
    } else {
        painter.fillRect(all, Qt::white);
    }

    ChoiceIcon(m_available).paint(&painter, QRect(IconLeft, IconLeft, IconSize, IconSize));
    painter.setFont(m_largeFont);
    painter.setPen(ColorRefToQColor(TextColour));
    const QRect caption(CaptionLeft, 5, std::max(0, width() - CaptionLeft), 20);
    const QString shown = QFontMetrics(m_largeFont).elidedText(text(), Qt::ElideRight, caption.width());
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);

    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const InsertDiagram::tBar &bar : InsertDiagram::Frame(m_layout, m_choice, m_tick)) {
        const QColor fill = bar.entry == m_highlighted ? QColor(HighlightFill) : QColor(Qt::white);
        DrawBar(painter, bar.rect, m_layout.area, fill);
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = all.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
    painter.end();
    QPainter(this).drawPixmap(0, 0, canvas);
}
