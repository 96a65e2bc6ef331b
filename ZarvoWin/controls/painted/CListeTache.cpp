#include "CListeTache.h"

#include "CRunningCardSource.h"
#include "ColorRef.h"
#include "ImageList.h"
#include "Texts.h"
#include "UiUtilities.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

CListeTache::CListeTache(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, Qt::white);
    viewport()->setPalette(p);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    m_bold = font();
    m_bold.setWeight(QFont::Bold);
    ImageList::UseFallbackIconTheme();
    m_image = QIcon::fromTheme(QStringLiteral("media-playback-stop")).pixmap(ImageSize, ImageSize);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

void CListeTache::SetCardImage(const QPixmap &image)
{
    m_image = image;
    viewport()->update();
}

void CListeTache::Reload()
{
    SetCards(m_source ? m_source->RunningCards() : std::vector<tRunningCard>());
}

void CListeTache::SetCards(std::vector<tRunningCard> cards)
{
    m_cards = std::move(cards);
    m_colours.clear();
    m_colours.reserve(m_cards.size());
    for (const tRunningCard &card : m_cards)
        m_colours.push_back(BarColours(card));
    verticalScrollBar()->setValue(0);
    UpdateScrollBar();
    viewport()->update();
}

std::pair<quint32, quint32> CListeTache::BarColours(const tRunningCard &card)
{
    if (card.projectColour && card.activityColour)
        return {*card.projectColour, *card.activityColour};
    if (card.projectColour)
        return {*card.projectColour, *card.projectColour};
    if (card.activityColour)
        return {*card.activityColour, *card.activityColour};
    return {GetRandomLightColor(), GetRandomLightColor()};
}

int CListeTache::FirstVisible() const
{
    return verticalScrollBar()->value();
}

int CListeTache::PageSize() const
{
    // A window lower than one card still shows one: with a page of none,
    // the last scroll position would show no card at all.
    return std::max(1, viewport()->height() / CardPitch);
}

void CListeTache::UpdateScrollBar()
{
    QScrollBar *bar = verticalScrollBar();
    const int count = int(m_cards.size());
    const int page = PageSize();
    // Scrolled to the end, the last card is the last one shown whole.
    const bool fits = qint64(viewport()->height()) >= qint64(count) * CardPitch;
    bar->setPageStep(page);
    bar->setSingleStep(1);
    bar->setRange(0, fits ? 0 : std::max(0, count - page));
}

void CListeTache::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBar();
}

void CListeTache::mousePressEvent(QMouseEvent *event)
{
    const int row = int(event->position().y()) / CardPitch + FirstVisible();
    m_clickedId = row >= 0 && row < int(m_cards.size()) ? m_cards[size_t(row)].id : -1;
    QAbstractScrollArea::mousePressEvent(event);
    emit clicked(m_clickedId);
}

void CListeTache::keyPressEvent(QKeyEvent *event)
{
    // Up, down and the page keys are the scroll area's; Home and End go to
    // the first and the last cards.
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        QScrollBar *bar = verticalScrollBar();
        bar->setValue(event->key() == Qt::Key_Home ? bar->minimum() : bar->maximum());
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CListeTache::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const int first = FirstVisible();
    const int height = viewport()->height();
    for (int row = first; row < int(m_cards.size()); ++row) {
        const int top = (row - first) * CardPitch;
        if (top >= height)
            break;
        PaintCard(painter, m_cards[size_t(row)], m_colours[size_t(row)], top);
    }
}

void CListeTache::PaintCard(QPainter &painter, const tRunningCard &card, std::pair<quint32, quint32> colours,
                            int top) const
{
    const int cardLeft = 2;
    const int cardRight = viewport()->width() - 2; // exclusive
    painter.fillRect(QRect(BarLeft, top, BarWidth, UpperBarHeight), ColorRefToQColor(colours.first));
    painter.fillRect(QRect(BarLeft, top + UpperBarHeight, BarWidth, CardHeight - UpperBarHeight),
                     ColorRefToQColor(colours.second));

    const QString labels[] = {Platform::Texts::get(141), Platform::Texts::get(142), Platform::Texts::get(143)};
    const QString values[] = {card.project.value_or(QString()), card.activity.value_or(QString()), card.start};
    const QFontMetrics boldMetrics(m_bold);
    int labelWidth = 0;
    for (const QString &label : labels)
        labelWidth = std::max(labelWidth, boldMetrics.horizontalAdvance(label));
    const QString colon = QStringLiteral(" : ");
    const int textLeft = cardLeft + 24;
    const int colonLeft = textLeft + labelWidth;
    const int valueLeft = colonLeft + fontMetrics().horizontalAdvance(colon);
    const int imageLeft = cardRight - 29;
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setPen(Qt::black);
    for (int i = 0; i < 3; ++i) {
        const int lineTop = top + i * LineHeight;
        painter.setFont(m_bold);
        painter.drawText(QRect(textLeft, lineTop, labelWidth, LineHeight), flags, labels[i]);
        painter.setFont(font());
        painter.drawText(QRect(colonLeft, lineTop, valueLeft - colonLeft, LineHeight), flags, colon);
        // A value stops short of the picture.
        const int room = imageLeft - 4 - valueLeft;
        if (room > 0)
            painter.drawText(QRect(valueLeft, lineTop, room, LineHeight), flags,
                             EllipsizeText(fontMetrics(), values[i], room, true));
    }
    if (!m_image.isNull())
        painter.drawPixmap(imageLeft, top + (CardHeight - ImageSize) / 2, m_image);
    painter.setPen(ColorRefToQColor(SeparatorColour));
    painter.drawLine(cardLeft, top + CardHeight, cardRight - 1, top + CardHeight);
}
