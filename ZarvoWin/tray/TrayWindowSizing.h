#pragma once
#include "TraySettings.h"

#include <QList>
#include <QRect>
#include <QSize>

// The tray window's size rules and the places of its views, without a
// window: the views stack under the caption band and the toolbar, each as
// wide as the window less 5 pixels on each side, the favourites' tabs taking
// what is left. All sizes are of the window's inside.
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

    // Where the window goes at start: the saved size held to the rules (a
    // size of 0 is the required one), the saved place when it lies on a
    // screen, else held onto the work area; a place never saved (Top or Left
    // 0) is the bottom right corner of the work area.
    static QRect Place(const tViews &v, const TraySettings::tPlacement &saved, const QRect &workArea,
                       const QList<QRect> &screens);
};
