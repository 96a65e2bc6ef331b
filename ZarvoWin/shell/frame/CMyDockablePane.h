#pragma once
#include <QDockWidget>

class QLabel;
class QMenu;
class QToolButton;

// The base of the main window's docking panes: a dock with a title bar of
// our own (caption, a button with the pane's menu, a close button) whose
// texts come from the interface language. Panes are grouped in tabs the way
// Qt groups docks.
class CMyDockablePane : public QDockWidget
{
    Q_OBJECT
public:
    // Command ids of the pane menu's items (also their text numbers).
    enum MenuItem {
        ItemFloating = 604,
        ItemDocking = 605,
        ItemTabbedDocument = 606,
        ItemAutoHide = 607,
        ItemHide = 608
    };

    // `id` is the pane's number (its object name); `captionTextId` the
    // number of its caption.
    CMyDockablePane(int id, int captionTextId, QWidget *parent = nullptr);

    int PaneId() const { return m_id; }
    int CaptionTextId() const { return m_captionTextId; }
    // Sets the caption from the interface texts again (a pane with texts of
    // its own sets them too).
    virtual void ApplyLanguage();

    // Fills `menu` with the pane menu as it stands (items greyed and
    // checked by the pane's state); the menu button shows it.
    void FillPaneMenu(QMenu &menu);

    QToolButton *MenuButton() const { return m_menuButton; }
    QToolButton *CloseButton() const { return m_closeButton; }

protected:
    // A pane that can also be shown as a tabbed document offers that item
    // in its menu and acts on it here.
    virtual bool OffersTabbedDocument() const { return false; }
    virtual void OnTabbedDocument() {}

private:
    void ShowPaneMenu();

    int m_id;
    int m_captionTextId;
    QLabel *m_caption = nullptr;
    QToolButton *m_menuButton = nullptr;
    QToolButton *m_closeButton = nullptr;
};
