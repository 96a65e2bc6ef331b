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
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput)
{
    // The pointer passes through the tip to the window under it, which
    // keeps its moves (the tip follows them) and is never left for the tip.
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

    // Every line as it follows the one before it: lines of a block apart
    // by their font's leading, the blocks by half a margin.
    struct tRow
    {
        size_t paragraph;
        int block;
        qreal height; // with the space above it
    };
    std::vector<tRow> rows;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        for (size_t j = 0; j < paragraphs[i].lines.size(); ++j) {
            const tParagraph &p = paragraphs[i];
            qreal above = 0;
            if (!rows.empty())
                above = rows.back().block != p.block ? Margin / 2 : metrics[p.bold].leading();
            rows.push_back({i, p.block, above + p.lines[j].height});
        }
    }
    // Too tall for the room: each block is cut at its bottom, so that the
    // title (a name, a project) and the first lines of the description
    // (the times) stay whole and what follows them (notes) gives way. The
    // title keeps whatever room the description leaves it, half the room
    // at least, and the description fills what is left.
    std::vector<bool> kept(rows.size(), true);
    qreal total = 0;
    qreal describing = 0;
    for (const tRow &row : rows) {
        total += row.height;
        describing += row.block == 1 ? row.height : 0;
    }
    if (total > room) {
        const qreal forTitle = room - std::min(describing, room / 2);
        qreal used = 0;
        bool titleFull = false;
        bool full = false;
        for (size_t r = 0; r < rows.size(); ++r) {
            // The first line shows, whatever the room.
            if (r > 0 && rows[r].block == 0) {
                titleFull = titleFull || used + rows[r].height > forTitle;
                kept[r] = !titleFull;
            } else if (r > 0) {
                full = full || used + rows[r].height > room;
                kept[r] = !full;
            }
            if (kept[r])
                used += rows[r].height;
        }
    }
    // The lines each paragraph shows, and the last line shown before a cut,
    // which ends with an ellipsis.
    std::vector<size_t> shown(paragraphs.size(), 0);
    std::vector<bool> endsCut(paragraphs.size(), false);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (kept[r]) {
            ++shown[rows[r].paragraph];
            continue;
        }
        // Marked on the line kept last before this one.
        for (size_t back = r; back-- > 0;) {
            if (kept[back]) {
                endsCut[rows[back].paragraph] = true;
                break;
            }
        }
    }
    m_cut = std::find(kept.begin(), kept.end(), false) != kept.end();

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
            if (last && endsCut[i]) {
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

namespace {

// How far below the cursor's point a tip begins, and above it one ends.
constexpr int BelowCursor = 16;
constexpr int AboveCursor = 4;

} // namespace

QPoint CMyToolTipCtrl::TipPosition(const QPoint &globalPos, const QRect &area) const
{
    QPoint place = globalPos + QPoint(2, BelowCursor);
    if (area.isValid()) {
        if (place.x() + width() > area.right())
            place.setX(std::max(area.left(), area.right() - width()));
        if (place.y() + height() > area.bottom())
            place.setY(std::max(area.top(), globalPos.y() - height() - AboveCursor));
    }
    return place;
}

QSize CMyToolTipCtrl::RoomAt(const QPoint &globalPos, const QRect &area) const
{
    const int below = area.bottom() - (globalPos.y() + BelowCursor);
    const int above = globalPos.y() - AboveCursor - area.top();
    return QSize(area.width(), std::max(below, above));
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
    // Laid out for the room beside the cursor, and never larger than it: a
    // tip over the cursor would take the pointer from the window it tells
    // of, which hides it at once.
    const QSize room = area.isValid() ? RoomAt(globalPos, area).expandedTo(QSize(1, 1)) : QSize();
    if (room != m_room) {
        m_room = room;
        Invalidate();
    }
    // Not adjustSize(): it holds a window to two thirds of the screen, which
    // would cut lines laid out for the whole room.
    resize(sizeHint());
    if (room.isValid())
        resize(size().boundedTo(room));
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
