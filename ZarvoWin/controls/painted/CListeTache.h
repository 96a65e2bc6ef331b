#pragma once
#include "tRunningCard.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPixmap>
#include <utility>
#include <vector>

class CRunningCardSource;

// The running time entries as cards of 50 pixels on white: a bar in the
// project's colour over the activity's, three lines "Projet", "Activité"
// and "Début" with their values, and the picture of stopping the entry.
// Cards scroll by whole cards. A click tells `clicked` with the id of the
// entry under it (-1 below the last card), which ClickedId() keeps for the
// owning dialog, that stops that entry.
class CListeTache : public QAbstractScrollArea
{
    Q_OBJECT
public:
    static constexpr int CardPitch = 50;
    static constexpr int CardHeight = 49;
    static constexpr int BarLeft = 2;
    static constexpr int BarWidth = 20;
    static constexpr int UpperBarHeight = 25;
    static constexpr int LineHeight = 16;
    static constexpr int ImageSize = 24;
    // The line under each card (0x00BBGGRR).
    static constexpr quint32 SeparatorColour = 0x323232;

    explicit CListeTache(QWidget *parent = nullptr);

    // Not owned; Reload reads its cards.
    void SetSource(CRunningCardSource *source) { m_source = source; }
    // Reads the cards again and shows the first.
    void Reload();
    // Shows these cards, from the first.
    void SetCards(std::vector<tRunningCard> cards);
    const std::vector<tRunningCard> &Cards() const { return m_cards; }

    // The id of the entry last clicked; -1 for none.
    int ClickedId() const { return m_clickedId; }
    // The first card shown, and the number of whole cards the window holds
    // (at least one).
    int FirstVisible() const;
    int PageSize() const;

    // The picture drawn at the right of each card (the theme's stop icon
    // until set).
    void SetCardImage(const QPixmap &image);

    // The colours of the bar's two halves: each found colour for its half,
    // the one found for both when the other is missing, and a light colour
    // of its own for a card with neither.
    static std::pair<quint32, quint32> BarColours(const tRunningCard &card);

signals:
    void clicked(int id);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void UpdateScrollBar();
    void PaintCard(QPainter &painter, const tRunningCard &card, std::pair<quint32, quint32> colours,
                   int top) const;

    CRunningCardSource *m_source = nullptr;
    std::vector<tRunningCard> m_cards;
    // Bar colours chosen once per load, so a missing colour does not
    // change at each repaint.
    std::vector<std::pair<quint32, quint32>> m_colours;
    QFont m_bold;
    QPixmap m_image;
    int m_clickedId = -1;
};
