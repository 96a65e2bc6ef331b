#pragma once
#include "InsertDiagram.h"
#include "tTacheFull.h"

#include <QAbstractButton>
#include <QFont>
#include <vector>

// A large choice button of the overlap dialog: an icon, its caption, and
// below them a diagram that plays what the choice does to the entries
// (InsertDiagram), one step per Advance(). A choice that is not available
// shows the icon of a refused choice, no hover frame, and takes neither
// clicks nor the focus.
class CViewAnimInsert : public QAbstractButton
{
    Q_OBJECT
public:
    // The caption's colour (0x00BBGGRR), and the ticks the finished
    // movement stays on screen before it plays again.
    static constexpr quint32 TextColour = 0xCB470E;
    static constexpr int PauseTicks = 20;

    explicit CViewAnimInsert(QWidget *parent = nullptr);

    // `choice` is InsertDiagram::OthersGiveWay or FitIntoFreeTime.
    void Initialise(int choice, const std::vector<tTacheFull> &entries, bool available);
    int Choice() const { return m_choice; }
    bool IsAvailable() const { return m_available; }
    void SetLargeFont(const QFont &font);
    // The entry whose bar is highlighted.
    void SetHighlighted(int entry);
    int Highlighted() const { return m_highlighted; }
    // One tick of the animation; the diagram is laid out afresh once the
    // movement has finished and paused.
    void Advance();
    int Tick() const { return m_tick; }
    const InsertDiagram::tLayout &Layout() const { return m_layout; }
    bool IsHovered() const { return m_hover; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

private:
    void Restart();

    int m_choice = InsertDiagram::OthersGiveWay;
    std::vector<tTacheFull> m_entries;
    bool m_available = true;
    bool m_hover = false;
    int m_highlighted = 0;
    int m_tick = 0;
    // Ticks spent on the finished movement.
    int m_paused = 0;
    InsertDiagram::tLayout m_layout;
    QFont m_largeFont;
};
