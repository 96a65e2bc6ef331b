#pragma once
#include <QString>
#include <QWidget>

class CProject;

// One tab page of the project editor (CDlgForecast): the general page,
// the planning page, the predecessors page or the title and notes page.
// The editor reaches every page through these calls only, each page
// answering those that concern it (the others do nothing): the pages of
// the planning windows derive from it. They all edit the editor's working
// copy of the node, never the project store.
class CForecastPage : public QWidget
{
    Q_OBJECT
public:
    explicit CForecastPage(QWidget *parent = nullptr);

    // Binds the page to the working copy; `isNew` for a new project or
    // activity row.
    virtual void SetProject(bool isNew, CProject *node);

    // ---- general page ----
    // Shows the node's values again (after the activity of the row or the
    // parent changed).
    virtual void FillControls();
    // Writes the name, the parent and the page's choices into the node.
    virtual void StoreControls();

    // ---- planning page ----
    virtual void StoreDates();
    virtual void UpdateFigures();
    virtual void UpdateControlStates();
    // Whether the page plans the node against an estimate; the editor
    // then asks, at the save, whether the status should follow the
    // completion.
    virtual bool PlansAgainstEstimate() const;

    // ---- title and notes page ----
    // The project's comment, or the activity row's notes.
    virtual QString NotesText() const;
    virtual void SetNotesText(const QString &text);

protected:
    // Enter does nothing in a page (the editor's default button is not
    // pressed from it); Escape goes on to the editor, which cancels.
    void keyPressEvent(QKeyEvent *event) override;

signals:
    // The general page changed the node's parent project.
    void parentChanged();
};
