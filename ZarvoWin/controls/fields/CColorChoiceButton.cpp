#include "CColorChoiceButton.h"

#include "ColorRef.h"
#include "UnattendedDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QVBoxLayout>

namespace {

CColorChoiceButton::ColorAsker &colorAsker()
{
    static CColorChoiceButton::ColorAsker asker;
    return asker;
}

std::optional<quint32> askWithDialog(QWidget *owner, quint32 initial)
{
    // Nobody answers in an unattended process: told, and cancelled.
    if (UnattendedDialogs::Report(QStringLiteral("colour dialog")))
        return std::nullopt;
    const QColor chosen = QColorDialog::getColor(ColorRefToQColor(initial), owner);
    if (!chosen.isValid())
        return std::nullopt;
    return QColorToColorRef(chosen);
}

// A square of the colour with a thin dark outline, for icons.
QIcon swatchIcon(quint32 colour, const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.setBrush(ColorRefToQColor(colour));
    painter.drawRect(QRect(QPoint(0, 0), size).adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

// The keys that move inside the swatch grid, and where they lead.
class GridKeys : public QObject
{
public:
    GridKeys(QList<QWidget *> cells, QWidget *above, QWidget *below, QObject *parent)
        : QObject(parent)
        , m_cells(std::move(cells))
        , m_above(above)
        , m_below(below)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const int index = int(m_cells.indexOf(static_cast<QWidget *>(watched)));
        // The swatch with the focus stands out of the flat grid.
        if (index >= 0 && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
            static_cast<QToolButton *>(watched)->setAutoRaise(event->type() == QEvent::FocusOut);
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (auto *button = qobject_cast<QAbstractButton *>(watched))
                button->click();
            return true;
        }
        const int columns = CColorChoiceButton::Columns;
        const int count = int(m_cells.size());
        QWidget *next = nullptr;
        if (index >= 0) {
            switch (key) {
            case Qt::Key_Left: next = index > 0 ? m_cells[index - 1] : nullptr; break;
            case Qt::Key_Right: next = index + 1 < count ? m_cells[index + 1] : nullptr; break;
            case Qt::Key_Up: next = index >= columns ? m_cells[index - columns] : m_above; break;
            case Qt::Key_Down: next = index + columns < count ? m_cells[index + columns] : m_below; break;
            default: return false;
            }
        } else if (watched == m_above && key == Qt::Key_Down && count > 0) {
            next = m_cells.first();
        } else if (watched == m_below && key == Qt::Key_Up && count > 0) {
            next = m_cells[((count - 1) / columns) * columns];
        } else {
            return false;
        }
        if (next)
            next->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QList<QWidget *> m_cells;
    QWidget *m_above;
    QWidget *m_below;
};

} // namespace

void CColorChoiceButton::SetColorAsker(ColorAsker asker)
{
    colorAsker() = std::move(asker);
}

CColorChoiceButton::CColorChoiceButton(QWidget *parent)
    : QToolButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(this, &QToolButton::clicked, this, &CColorChoiceButton::ShowPopup);
}

CColorChoiceButton::~CColorChoiceButton()
{
    if (m_popup)
        delete m_popup;
}

const QList<quint32> &CColorChoiceButton::Palette()
{
    // Written as 0xRRGGBB for reading; kept as 0x00BBGGRR.
    static const QList<quint32> colours = [] {
        const quint32 rgb[] = {
            0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x800000, 0x804000, 0x808000, 0x008000, 0x000080,
            0xFF0000, 0xFF8000, 0xFFFF00, 0x00C000, 0x00C0C0, 0x0060FF, 0x0000FF, 0x8000FF, 0xFF00FF, 0xA05020,
            0xFF8080, 0xFFC080, 0xFFFF80, 0x80FF80, 0x80FFFF, 0x80C0FF, 0x8080FF, 0xC080FF, 0xFF80FF, 0xD0A070,
            0xFFE0E0, 0xFFF0D0, 0xFFFFE0, 0xE0FFE0, 0xE0FFFF, 0xE0F0FF, 0xE0E0FF, 0xF0E0FF, 0xFFE0FF, 0xF0E8D8,
        };
        QList<quint32> list;
        for (quint32 c : rgb)
            list << (((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16));
        return list;
    }();
    return colours;
}

void CColorChoiceButton::EnableAutomatic(const QString &text, quint32 colour)
{
    m_hasAutomatic = true;
    m_automaticText = text;
    m_automaticColour = colour;
    updateGeometry();
    update();
}

void CColorChoiceButton::SetAutomaticColor(quint32 colour)
{
    m_automaticColour = colour;
    update();
}

void CColorChoiceButton::EnableOtherColors(const QString &text)
{
    m_otherText = text;
}

void CColorChoiceButton::SetColor(quint32 colour)
{
    m_colour = colour;
    m_automatic = false;
    update();
}

void CColorChoiceButton::SetAutomatic()
{
    m_automatic = true;
    update();
}

quint32 CColorChoiceButton::Color() const
{
    return m_automatic ? m_automaticColour : m_colour;
}

QWidget *CColorChoiceButton::Popup() const
{
    return m_popup && m_popup->isVisible() ? m_popup.data() : nullptr;
}

void CColorChoiceButton::Choose(std::optional<quint32> colour)
{
    if (m_popup)
        m_popup->close();
    if (colour)
        SetColor(*colour);
    else
        SetAutomatic();
    emit colorChosen();
}

void CColorChoiceButton::AskOtherColor()
{
    if (m_popup)
        m_popup->close();
    const ColorAsker &asker = colorAsker();
    const std::optional<quint32> chosen = asker ? asker(this, Color()) : askWithDialog(this, Color());
    if (chosen)
        Choose(chosen);
}

void CColorChoiceButton::ShowPopup()
{
    if (m_popup) {
        if (m_popup->isVisible())
            return;
        // Closed, waiting to be deleted.
        m_popup->deleteLater();
        m_popup.clear();
    }
    auto *popup = new QFrame(this, Qt::Popup);
    popup->setObjectName(QStringLiteral("colorPopup"));
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_popup = popup;

    const int side = fontMetrics().height() + 6;
    const QSize iconSize(side - 6, side - 6);
    auto *layout = new QVBoxLayout(popup);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    QPushButton *automatic = nullptr;
    if (m_hasAutomatic) {
        automatic = new QPushButton(swatchIcon(m_automaticColour, iconSize), m_automaticText, popup);
        automatic->setObjectName(QStringLiteral("automatic"));
        automatic->setFlat(!m_automatic);
        connect(automatic, &QPushButton::clicked, this, [this] { Choose(std::nullopt); });
        layout->addWidget(automatic);
    }

    auto *grid = new QGridLayout;
    grid->setSpacing(2);
    QList<QWidget *> cells;
    QWidget *current = nullptr;
    const QList<quint32> &colours = Palette();
    for (int i = 0; i < colours.size(); ++i) {
        const quint32 colour = colours[i];
        auto *cell = new QToolButton(popup);
        cell->setObjectName(QStringLiteral("swatch%1").arg(i));
        cell->setIcon(swatchIcon(colour, iconSize));
        cell->setIconSize(iconSize);
        cell->setFixedSize(side, side);
        cell->setAutoRaise(true);
        cell->setCheckable(true);
        cell->setFocusPolicy(Qt::StrongFocus);
        const QColor c = ColorRefToQColor(colour);
        cell->setToolTip(c.name().toUpper());
        if (!m_automatic && colour == m_colour) {
            cell->setChecked(true);
            current = cell;
        }
        connect(cell, &QToolButton::clicked, this, [this, colour] { Choose(colour); });
        grid->addWidget(cell, i / Columns, i % Columns);
        cells << cell;
    }
    layout->addLayout(grid);

    QPushButton *other = nullptr;
    if (!m_otherText.isEmpty()) {
        other = new QPushButton(m_otherText, popup);
        other->setObjectName(QStringLiteral("other"));
        connect(other, &QPushButton::clicked, this, [this] { AskOtherColor(); });
        layout->addWidget(other);
    }

    auto *keys = new GridKeys(cells, automatic, other, popup);
    for (QWidget *w : cells)
        w->installEventFilter(keys);
    if (automatic)
        automatic->installEventFilter(keys);
    if (other)
        other->installEventFilter(keys);

    // Under the button, kept on its screen.
    popup->adjustSize();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen *s = screen()) {
        const QRect area = s->availableGeometry();
        if (at.y() + popup->height() > area.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - popup->height());
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - popup->width())));
    }
    popup->move(at);
    popup->show();
    QWidget *focus = current ? current : (m_automatic && automatic ? automatic : cells.value(0));
    if (focus)
        focus->setFocus(Qt::PopupFocusReason);
}

QRect CColorChoiceButton::SwatchRect() const
{
    const int h = fontMetrics().height();
    const int margin = (height() - h) / 2;
    return QRect(6, margin, h * 2, h);
}

QSize CColorChoiceButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int h = metrics.height();
    int width = 6 + 2 * h + 6 + h + 6; // swatch, arrow
    if (m_hasAutomatic)
        width += metrics.horizontalAdvance(m_automaticText) + 6;
    return QSize(std::max(width, 8 * h), h + 12);
}

void CColorChoiceButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    option.features &= ~QStyleOptionToolButton::HasMenu;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const QRect swatch = SwatchRect();
    const bool enabled = isEnabled();
    painter.setPen(enabled ? palette().color(QPalette::WindowText) : palette().color(QPalette::Mid));
    QColor fill = ColorRefToQColor(Color());
    if (!enabled)
        fill = fill.lighter(130);
    painter.setBrush(fill);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));

    const int arrowSide = fontMetrics().height() / 2 + 4;
    const QRect arrow(width() - arrowSide - 6, (height() - arrowSide) / 2, arrowSide, arrowSide);
    if (m_automatic && m_hasAutomatic) {
        const QRect text(swatch.right() + 7, 0, arrow.left() - swatch.right() - 10, height());
        painter.setPen(palette().color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(m_automaticText, Qt::ElideRight, text.width()));
    }
    QStyleOption arrowOption;
    arrowOption.initFrom(this);
    arrowOption.rect = arrow;
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrowOption);
}

void CColorChoiceButton::keyPressEvent(QKeyEvent *event)
{
    const bool altDown = event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier);
    if (altDown || event->key() == Qt::Key_F4) {
        ShowPopup();
        event->accept();
        return;
    }
    QToolButton::keyPressEvent(event);
}
