#include "CMyToolTipCtrl.h"

#include "ImageList.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

CMyToolTipCtrl::CMyToolTipCtrl(QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
}

void CMyToolTipCtrl::SetImageList(const ImageList *images)
{
    m_images = images;
    adjustSize();
    update();
}

void CMyToolTipCtrl::SetIcon(const QIcon &icon, int size)
{
    m_icon = icon;
    m_iconSize = size;
    adjustSize();
    update();
}

int CMyToolTipCtrl::IconSize() const
{
    if (m_images)
        return ImageListSize;
    return m_icon.isNull() ? 0 : m_iconSize;
}

void CMyToolTipCtrl::SetContent(const tToolTipContent &content)
{
    m_content = content;
    adjustSize();
    update();
}

void CMyToolTipCtrl::SetMaxTextWidth(int width)
{
    m_maxTextWidth = std::max(0, width);
    adjustSize();
    update();
}

QFont CMyToolTipCtrl::TitleFont() const
{
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QString CMyToolTipCtrl::DescriptionText() const
{
    return QString(m_content.description).replace(u'\t', QStringLiteral("    "));
}

QSize CMyToolTipCtrl::LayOut(const QString &text, const QFont &font, QPainter *painter, QPoint origin) const
{
    QTextOption option;
    option.setWrapMode(m_maxTextWidth > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    const qreal lineWidth = m_maxTextWidth > 0 ? qreal(m_maxTextWidth) : qreal(1 << 24);
    const qreal leading = QFontMetricsF(font).leading();
    qreal y = 0;
    qreal width = 0;
    // Each line of the text a paragraph of its own, wrapped within the
    // widest line allowed.
    for (const QString &paragraph : text.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(lineWidth);
            if (y > 0)
                y += leading;
            line.setPosition(QPointF(0, y));
            y += line.height();
            width = std::max(width, line.naturalTextWidth());
        }
        layout.endLayout();
        if (painter)
            layout.draw(painter, origin);
    }
    return QSize(int(std::ceil(width)), int(std::ceil(y)));
}

QSize CMyToolTipCtrl::TextSize() const
{
    // The bold label may hold several lines (a title, then the project and
    // the activity).
    const QSize title = m_content.title.isEmpty() ? QSize() : LayOut(m_content.title, TitleFont());
    int width = title.width();
    int height = title.height();
    if (!m_content.description.trimmed().isEmpty()) {
        const QSize lines = LayOut(DescriptionText(), font());
        width = std::max(width, lines.width());
        height += (height ? Margin / 2 : 0) + lines.height();
    }
    return QSize(width, height);
}

QSize CMyToolTipCtrl::sizeHint() const
{
    const QSize text = TextSize();
    const int image = IconSize();
    const int width = Margin + (image ? image + Margin : 0) + text.width() + Margin;
    const int height = Margin + std::max(image, text.height()) + Margin;
    return QSize(width, height);
}

void CMyToolTipCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    int left = Margin;
    if (m_images) {
        const QPixmap image = m_images->Pixmap(m_content.image);
        if (!image.isNull())
            painter.drawPixmap(QRect(left, Margin, ImageListSize, ImageListSize), image);
        left += ImageListSize + Margin;
    } else if (!m_icon.isNull() && m_iconSize > 0) {
        m_icon.paint(&painter, QRect(left, Margin, m_iconSize, m_iconSize));
        left += m_iconSize + Margin;
    }
    // A tip cut by the screen's height ends at its own bottom margin.
    painter.setClipRect(QRect(QPoint(left, Margin), QPoint(width() - 1, height() - 1 - Margin)));
    int top = Margin;
    if (!m_content.title.isEmpty())
        top += LayOut(m_content.title, TitleFont(), &painter, QPoint(left, top)).height() + Margin / 2;
    if (!m_content.description.trimmed().isEmpty())
        LayOut(DescriptionText(), font(), &painter, QPoint(left, top));
}

QPoint CMyToolTipCtrl::TipPosition(const QPoint &globalPos) const
{
    QPoint place = globalPos + QPoint(2, 16); // below the cursor's point
    if (const QScreen *screen = QGuiApplication::screenAt(globalPos)) {
        const QRect area = screen->availableGeometry();
        if (place.x() + width() > area.right())
            place.setX(std::max(area.left(), area.right() - width()));
        if (place.y() + height() > area.bottom())
            place.setY(std::max(area.top(), globalPos.y() - height() - 4));
    }
    return place;
}

void CMyToolTipCtrl::ShowAt(const QPoint &globalPos)
{
    adjustSize();
    // Never larger than the screen under the cursor.
    const QScreen *screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        resize(size().boundedTo(screen->availableGeometry().size()));
    move(TipPosition(globalPos));
    show();
    raise();
}

void CMyToolTipCtrl::Attach(QWidget *tool, ContentProvider provider)
{
    if (m_tool)
        m_tool->removeEventFilter(this);
    m_tool = tool;
    m_provider = std::move(provider);
    if (m_tool)
        m_tool->installEventFilter(this);
}

bool CMyToolTipCtrl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_tool)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ToolTip: {
        const auto *help = static_cast<QHelpEvent *>(event);
        tToolTipContent content;
        if (m_provider && m_provider(help->pos(), content)) {
            SetContent(content);
            ShowAt(help->globalPos());
        } else {
            hide();
        }
        return true; // never Qt's own tooltip as well
    }
    case QEvent::MouseMove:
        if (isVisible()) {
            const auto *move = static_cast<QMouseEvent *>(event);
            tToolTipContent content;
            if (m_provider && m_provider(move->position().toPoint(), content)) {
                if (content != m_content) {
                    SetContent(content);
                    ShowAt(move->globalPosition().toPoint());
                }
            } else {
                hide();
            }
        }
        break;
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
    case QEvent::Hide:
    case QEvent::FocusOut:
        hide();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
