#pragma once
#include "tToolTipContent.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

class ImageList;
class QPainter;

// A tooltip window of ours: an image at the left (28 pixels, from an image
// list by index, or an icon at its own size), a bold title and a
// description below it. Qt's own tooltip shows one text only.
//
// Attach it to a window (a grid, a chart): when Qt asks that window for a
// tooltip, the content provider fills the content for the point and the
// tip shows beside the cursor; it follows the mouse over the window (with
// mouse tracking on), changing when the content changes, and hides when
// the provider has nothing there, when the mouse leaves, or at a click, a
// key or the wheel.
class CMyToolTipCtrl : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ImageListSize = 28;
    static constexpr int Margin = 6;

    // Fills `content` for the window's point; false for no tip there.
    using ContentProvider = std::function<bool(const QPoint &pos, tToolTipContent &content)>;

    explicit CMyToolTipCtrl(QWidget *parent = nullptr);

    // The widest the title and the description may be, in pixels: longer
    // lines wrap at a word, or inside a word longer than a line (0, the
    // default: no limit). Whatever its text, the tip also stays within the
    // screen that shows it, beside the cursor, never over it: every line
    // wraps within the width it has there, and a text too tall for the room
    // above or below the cursor is cut at its bottom, at the end of a line
    // marked with an ellipsis. The title stays whole and the description's
    // first lines follow it (the description keeps half the room at least,
    // where the title is that long); what the description says last gives
    // way first.
    void SetMaxTextWidth(int width);
    int MaxTextWidth() const { return m_maxTextWidth; }

    // Not owned; when set it wins over the icon.
    void SetImageList(const ImageList *images);
    void SetIcon(const QIcon &icon, int size);
    int IconSize() const;

    void SetContent(const tToolTipContent &content);
    const tToolTipContent &Content() const { return m_content; }

    // Shows the tip with its top-left corner near `globalPos`, kept on the
    // screen.
    void ShowAt(const QPoint &globalPos);
    // The same within `area` (the work area of the screen under the point).
    void ShowWithin(const QPoint &globalPos, const QRect &area);

    // One line of text as it is drawn, in the tip's coordinates.
    struct tLine
    {
        QString text;
        QRect rect;
        bool bold = false;
    };
    // The lines laid out for the room the tip was last shown in, and
    // whether some of the text did not fit there.
    const std::vector<tLine> &Lines() const;
    bool IsCut() const;

    void Attach(QWidget *tool, ContentProvider provider);

    QSize sizeHint() const override;

protected:
    // Where the tip's top-left corner goes for a cursor at `globalPos`, at
    // the tip's current size: below the cursor, kept within `area`.
    virtual QPoint TipPosition(const QPoint &globalPos, const QRect &area) const;
    // The room a tip has for a cursor at `globalPos` within `area`: as wide
    // as the area, as high as the larger of the spaces TipPosition uses
    // below and above the cursor.
    virtual QSize RoomAt(const QPoint &globalPos, const QRect &area) const;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QFont TitleFont() const;
    // The description as drawn (tabs as four blanks).
    QString DescriptionText() const;
    // Where the text begins, right of the image.
    int TextLeft() const;
    // The lines are laid out again at their next use.
    void Invalidate();
    void LayOutLines() const;

    const ImageList *m_images = nullptr;
    QIcon m_icon;
    int m_iconSize = 0;
    int m_maxTextWidth = 0;
    tToolTipContent m_content;
    // The room the tip was last shown in (invalid until shown).
    QSize m_room;
    mutable std::vector<tLine> m_lines;
    mutable QSize m_textSize;
    mutable bool m_laidOut = false;
    mutable bool m_cut = false;
    QPointer<QWidget> m_tool;
    ContentProvider m_provider;
};
