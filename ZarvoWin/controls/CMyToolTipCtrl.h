#pragma once
#include "tToolTipContent.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <functional>

class ImageList;
class QFontMetrics;

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
    // Where the label's lines fall, from the top left, in `metrics`.
    QRect TitleRect(const QFontMetrics &metrics) const;
    QFont TitleFont() const;

    const ImageList *m_images = nullptr;
    QIcon m_icon;
    int m_iconSize = 0;
    tToolTipContent m_content;
    QPointer<QWidget> m_tool;
    ContentProvider m_provider;
};
