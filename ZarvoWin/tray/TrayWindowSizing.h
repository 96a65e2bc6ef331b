#pragma once
#include "TraySettings.h"

#include <QList>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

// The tray window's size rules and the places of its views, without a
// window: the views stack under the caption band and the toolbar, each as
// wide as the window less 5 pixels on each side, the favourites' tabs taking
// what is left. All sizes are of the window's inside. Also where the tray's
// dialogs go beside the Infos window.
class TrayWindowSizing
{
public:
    // The fixed sizes the views were given, and which views show.
    struct tViews
    {
        int captionHeight = 0;
        QSize captionButton; // the hide and menu buttons
        QSize toolbar;
        QSize resume;        // the summary panel
        int dayHeight = 0;   // the day strip
        QSize task;          // the current-task button
        int messageHeight = 0;
        // The caption's text in its font, and the widest the window's
        // inside may be (0: no bound) so that the caption never asks for
        // more than the screen.
        int captionTextWidth = 0;
        int widest = 0;
        // The width of the inside under which a window manager's title bar
        // would cut the title (0: no title bar, or not known yet).
        int titleBarWidth = 0;
        bool showToolBar = true;
        bool showResume = true;
        bool showDay = true;
        bool showTask = true;
        bool showFav = true;
        bool compact = false;
    };

    static int RequiredHeight(const tViews &v);
    static int RequiredWidth(const tViews &v);
    // The size the window keeps while the user drags an edge: never below
    // the required size; exactly the required height while the tabs do not
    // show.
    static QSize Limit(const tViews &v, const QSize &wanted);

    struct tLayout
    {
        QRect hideButton, menuButton;
        // An empty rectangle for a view that does not show.
        QRect toolbar, message, resume, day, task, tabs;
    };
    static tLayout Layout(const tViews &v, const QSize &client);

    // Where the window goes at start: the place to move it to (its
    // frame's top left) and the size of its inside. The saved size held to
    // the rules (a size of 0 is the required one) and to the screen; a
    // place never saved (Top or Left 0) puts the frame in the bottom right
    // corner of the first work area, a saved one stays where it was, moved
    // just enough for the whole frame to lie within the work area of the
    // screen it is on (the first one when it is on none). `workAreas` are
    // the screens' available geometries, the primary screen's first.
    static QRect Place(const tViews &v, const TraySettings::tPlacement &saved, const QList<QRect> &workAreas,
                       const QMargins &frame);
    // The work area holding the most of `frame`; the first when it lies
    // on none; an invalid rectangle without any.
    static QRect WorkAreaOf(const QRect &frame, const QList<QRect> &workAreas);
    // Where the frame's top left goes for the whole frame to lie within
    // the work area, moved as little as it can be (the top left corner
    // kept in view when the frame is larger).
    static QPoint KeepWithin(const QRect &frame, const QRect &workArea);

    // The window manager's frame around a window, from the frame and the
    // inside as Qt measures them: none for a window that does not show
    // (hidden, or minimised), and none where the frame does not hold the
    // inside on every side, as Qt measures a window the window manager has
    // not framed yet (newly made, or after the notification area came or
    // went) against the window itself, whatever its size then.
    static QMargins FrameMargins(const QRect &frame, const QRect &inside, bool visible, Qt::WindowStates states);

    // The room kept between a dialog and the window it keeps clear of.
    static constexpr int ClearGap = 8;
    // Where a dialog's frame goes so that it does not meet `obstacle` (the
    // Infos window, which stays on top of the others): where it is when it
    // does not meet it; otherwise moved as little as it can be, left, right,
    // up or down, to lie clear of it by ClearGap within the work area; where
    // the work area has no such room, so that at least `part` (its buttons,
    // within the frame) lies clear; where it has none for them either, where
    // it is.
    static QPoint ClearOf(const QRect &frame, const QRect &part, const QRect &obstacle, const QRect &workArea);
};
