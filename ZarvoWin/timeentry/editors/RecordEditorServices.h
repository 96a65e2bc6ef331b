#pragma once
#include <QIcon>
#include <functional>
#include <memory>

class CForecastPage;
class QWidget;

// What the record editors (activity, rate, favourite, project, copy,
// picker) take from the program around them, registered once by the
// program; tests set their own and put it back. Anything left unset is
// simply not done.
struct RecordEditorServices
{
    // The picture of an index of the application's 16-pixel list (the
    // top item, the project types, the activity image); unset: none.
    std::function<QIcon(int image)> image;
    // Reloads the rates branch of the project pane after a rate was saved.
    std::function<void()> reloadRates;
    // The project editor's page of a tab (0 general, 1 planning,
    // 2 predecessors, 3 title and notes), made as a child of `parent`;
    // unset, or a null page: the editor's own notes page for tab 3 and an
    // empty page for the others.
    std::function<CForecastPage *(int tab, QWidget *parent)> forecastPage;

    static RecordEditorServices &Registered();
    // The registered picture of `image` (a null icon when none).
    static QIcon Image(int image);
};
