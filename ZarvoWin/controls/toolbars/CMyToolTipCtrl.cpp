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

namespace {

// One line of a paragraph as it wrapped: where it begins in the
// paragraph's text, how long, how wide and how high.
struct tWrapped
{
    int start = 0;
    int length = 0;
    qreal width = 0;
    qreal height = 0;
};
// One line of the title or of the description (block 0 or 1), wrapped.
struct tParagraph
{
    QString text;
    bool bold = false;
    int block = 0;
    std::vector<tWrapped> lines;
};

// A line that stops before the end of its text: its last characters give
// way to an ellipsis within `width`.
QString withEllipsis(QString text, const QFontMetricsF &metrics, qreal width)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    const QString marked = text + QChar(0x2026);
    if (metrics.horizontalAdvance(marked) <= width)
        return marked;
    return metrics.elidedText(marked, Qt::ElideRight, width);
}

} // namespace

void CMyToolTipCtrl::SetImageList(const ImageList *images)
{
    m_images = images;
    Invalidate();
    resize(sizeHint());
    update();
}

void CMyToolTipCtrl::SetIcon(const QIcon &icon, int size)
{
    m_icon = icon;
    m_iconSize = size;
    Invalidate();
    resize(sizeHint());
    update();
}

int CMyToolTipCtrl::IconSize() const
{
    if (m_images)
        return ImageListSize;
    return m_icon.isNull() ? 0 : m_iconSize;
}

int CMyToolTipCtrl::TextLeft() const
{
    const int image = IconSize();
    return Margin + (image ? image + Margin : 0);
}

void CMyToolTipCtrl::SetContent(const tToolTipContent &content)
{
    m_content = content;
    Invalidate();
    resize(sizeHint());
    update();
}

void CMyToolTipCtrl::SetMaxTextWidth(int width)
{
    m_maxTextWidth = std::max(0, width);
    Invalidate();
    resize(sizeHint());
    update();
}

void CMyToolTipCtrl::Invalidate()
{
    m_laidOut = false;
    m_lines.clear();
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

const std::vector<CMyToolTipCtrl::tLine> &CMyToolTipCtrl::Lines() const
{
    LayOutLines();
    return m_lines;
}

bool CMyToolTipCtrl::IsCut() const
{
    LayOutLines();
    return m_cut;
}

void CMyToolTipCtrl::LayOutLines() const
{
    if (m_laidOut)
        return;
    m_laidOut = true;
    m_cut = false;
    m_lines.clear();
    const int left = TextLeft();
    // Each line wraps within the widest line allowed and within the screen.
    qreal lineWidth = m_maxTextWidth > 0 ? qreal(m_maxTextWidth) : qreal(1 << 24);
    if (m_room.isValid())
        lineWidth = std::min(lineWidth, qreal(std::max(16, m_room.width() - left - Margin)));
    const qreal room = m_room.isValid() ? qreal(std::max(1, m_room.height() - 2 * Margin)) : qreal(1 << 30);
    const QFont fonts[] = {font(), TitleFont()};
    const QFontMetricsF metrics[] = {QFontMetricsF(fonts[0]), QFontMetricsF(fonts[1])};

    // Every line of the title, then of the description, a paragraph of its
    // own, wrapped at a word, or inside a word longer than a line.
    std::vector<tParagraph> paragraphs;
    const auto add = [&paragraphs](const QString &text, bool bold, int block) {
        for (const QString &line : text.split(u'\n'))
            paragraphs.push_back({line, bold, block, {}});
    };
    if (!m_content.title.isEmpty())
        add(m_content.title, true, 0);
    if (!m_content.description.trimmed().isEmpty())
        add(DescriptionText(), false, 1);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (tParagraph &p : paragraphs) {
        QTextLayout layout(p.text, fonts[p.bold]);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(lineWidth);
            p.lines.push_back({line.textStart(), line.textLength(), line.naturalTextWidth(), line.height()});
        }
        layout.endLayout();
        if (p.lines.empty())
            p.lines.push_back({0, 0, 0, metrics[p.bold].height()});
    }

    // The height of the first `shown[i]` lines of each paragraph: lines of a
    // block apart by their font's leading, the blocks by half a margin.
    const auto heightOf = [&](const std::vector<size_t> &shown) {
        qreal height = 0;
        int block = -1;
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            for (size_t j = 0; j < shown[i]; ++j) {
                if (block != -1)
                    height += block != paragraphs[i].block ? Margin / 2 : metrics[paragraphs[i].bold].leading();
                block = paragraphs[i].block;
                height += paragraphs[i].lines[j].height;
            }
        }
        return height;
    };
    std::vector<size_t> shown(paragraphs.size());
    size_t most = 0;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        shown[i] = paragraphs[i].lines.size();
        most = std::max(most, shown[i]);
    }
    // Too tall for the screen: every paragraph keeps as many lines as the
    // room lets all of them keep, so that a long one hides none of the
    // others, and the room left goes to the first ones cut.
    bool dropped = false;
    if (heightOf(shown) > room) {
        const auto capped = [&](size_t cap) {
            std::vector<size_t> counts(paragraphs.size());
            for (size_t i = 0; i < paragraphs.size(); ++i)
                counts[i] = std::min(paragraphs[i].lines.size(), cap);
            return counts;
        };
        size_t low = 0;
        size_t high = most;
        while (low < high) {
            const size_t cap = (low + high + 1) / 2;
            if (heightOf(capped(cap)) <= room)
                low = cap;
            else
                high = cap - 1;
        }
        if (low > 0) {
            shown = capped(low);
            for (size_t i = 0; i < paragraphs.size(); ++i) {
                if (shown[i] == paragraphs[i].lines.size())
                    continue;
                ++shown[i];
                if (heightOf(shown) > room)
                    --shown[i];
            }
        } else {
            // Not even a line each: the first lines, as many as fit (one at
            // least), each the start of its paragraph.
            std::fill(shown.begin(), shown.end(), 0);
            for (size_t i = 0; i < paragraphs.size(); ++i) {
                shown[i] = 1;
                if (i > 0 && heightOf(shown) > room) {
                    shown[i] = 0;
                    dropped = true;
                    break;
                }
            }
        }
    }
    size_t lastShown = 0;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (shown[i] > 0)
            lastShown = i;
    }

    qreal y = Margin;
    qreal widest = 0;
    int block = -1;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        const tParagraph &p = paragraphs[i];
        for (size_t j = 0; j < shown[i]; ++j) {
            if (block != -1)
                y += block != p.block ? Margin / 2 : metrics[p.bold].leading();
            block = p.block;
            const tWrapped &wrapped = p.lines[j];
            QString text = p.text.mid(wrapped.start, wrapped.length);
            qreal width = wrapped.width;
            const bool last = j + 1 == shown[i];
            if (last && (shown[i] < p.lines.size() || (dropped && i == lastShown))) {
                m_cut = true;
                text = withEllipsis(text, metrics[p.bold], lineWidth);
                width = metrics[p.bold].horizontalAdvance(text);
            } else {
                while (!text.isEmpty() && text.back().isSpace())
                    text.chop(1);
            }
            widest = std::max(widest, width);
            m_lines.push_back({text, QRect(left, int(std::floor(y)), int(std::ceil(width)), int(std::ceil(wrapped.height))),
                               p.bold});
            y += wrapped.height;
        }
    }
    m_textSize = QSize(int(std::ceil(widest)), int(std::ceil(y)) - Margin);
}

QSize CMyToolTipCtrl::sizeHint() const
{
    LayOutLines();
    const int image = IconSize();
    const int width = TextLeft() + m_textSize.width() + Margin;
    const int height = Margin + std::max(image, m_textSize.height()) + Margin;
    return QSize(width, height);
}

void CMyToolTipCtrl::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        Invalidate();
        resize(sizeHint());
    }
    QWidget::changeEvent(event);
}

void CMyToolTipCtrl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_images) {
        const QPixmap image = m_images->Pixmap(m_content.image);
        if (!image.isNull())
            painter.drawPixmap(QRect(Margin, Margin, ImageListSize, ImageListSize), image);
    } else if (!m_icon.isNull() && m_iconSize > 0) {
        m_icon.paint(&painter, QRect(Margin, Margin, m_iconSize, m_iconSize));
    }
    // Lines cut by the screen end with an ellipsis before the bottom margin;
    // nothing is drawn past the margins.
    const int left = TextLeft();
    painter.setClipRect(QRect(QPoint(left, Margin), QPoint(width() - 1, height() - 1 - Margin)));
    const QFont fonts[] = {font(), TitleFont()};
    for (const tLine &line : Lines()) {
        painter.setFont(fonts[line.bold]);
        painter.drawText(QPointF(line.rect.left(), line.rect.top() + QFontMetricsF(fonts[line.bold]).ascent()), line.text);
    }
}

QPoint CMyToolTipCtrl::TipPosition(const QPoint &globalPos, const QRect &area) const
{
    QPoint place = globalPos + QPoint(2, 16); // below the cursor's point
    if (area.isValid()) {
        if (place.x() + width() > area.right())
            place.setX(std::max(area.left(), area.right() - width()));
        if (place.y() + height() > area.bottom())
            place.setY(std::max(area.top(), globalPos.y() - height() - 4));
    }
    return place;
}

void CMyToolTipCtrl::ShowAt(const QPoint &globalPos)
{
    const QScreen *screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    ShowWithin(globalPos, screen ? screen->availableGeometry() : QRect());
}

void CMyToolTipCtrl::ShowWithin(const QPoint &globalPos, const QRect &area)
{
    // Laid out for the screen's room, and never larger than it.
    if (area.size() != m_room) {
        m_room = area.isValid() ? area.size() : QSize();
        Invalidate();
    }
    // Not adjustSize(): it holds a window to two thirds of the screen, which
    // would cut lines laid out for the whole room.
    resize(sizeHint());
    if (area.isValid())
        resize(size().boundedTo(area.size()));
    move(TipPosition(globalPos, area));
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
