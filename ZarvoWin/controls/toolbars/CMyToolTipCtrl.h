#pragma once
#include "tToolTipContent.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <functional>

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
    // screen that shows it, a text too long for it cut at the bottom.
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

    void Attach(QWidget *tool, ContentProvider provider);

    QSize sizeHint() const override;

protected:
    // Where the tip's top-left corner goes for a cursor at `globalPos`, at
    // the tip's current size: below the cursor, kept on its screen.
    virtual QPoint TipPosition(const QPoint &globalPos) const;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The title and description lines, and the font of each.
    QSize TextSize() const;
    QFont TitleFont() const;
    // The description as drawn (tabs as four blanks).
    QString DescriptionText() const;
    // The size of `text` laid out in `font` within the widest line allowed;
    // drawn at `origin` when a painter is given.
    QSize LayOut(const QString &text, const QFont &font, QPainter *painter = nullptr, QPoint origin = {}) const;

    const ImageList *m_images = nullptr;
    QIcon m_icon;
    int m_iconSize = 0;
    int m_maxTextWidth = 0;
    tToolTipContent m_content;
    QPointer<QWidget> m_tool;
    ContentProvider m_provider;
};
