#pragma once
#include <QToolBar>
#include <functional>

// The toolbar of a docking pane: its buttons are the pane's own commands
// (actions the pane owns, not the main window's), it cannot be moved,
// floated or hidden by the user, and it asks its owner to recompute the
// buttons' states whenever that may have changed (the owner calls
// UpdateCommandStates after a selection change or a refill; the toolbar
// does it itself when it is shown).
class CClassToolBar : public QToolBar
{
    Q_OBJECT
public:
    // `id` is the toolbar's number (its object name).
    CClassToolBar(int id, QWidget *owner);

    // Called to enable and check the owner's commands.
    void SetStateUpdater(std::function<void()> updater) { m_updater = std::move(updater); }
    void UpdateCommandStates();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::function<void()> m_updater;
};
