#pragma once
#include "ListRowDrag.h"
#include "tColVisible.h"

#include <QDialog>
#include <vector>

class CListCtrlCol;
class QPushButton;

// The choice of the project-tracking grid's columns and of their order: one
// row per column, ticked when shown, with its description. The rows move
// with the buttons or by dragging one onto another (dropped on the upper
// half of a row it goes before it, on the lower half after it); "Défaut"
// puts the default layout back. OK writes the rows back into the list the
// opener gave, in order; Cancel leaves it as it was. The window's place is
// kept under "ColumnsForecast". DialogAnswers<CDlgColForecast> answers it
// in tests.
class CDlgColForecast : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 464;
    // The dialog takes the texts of the list column chooser.
    static constexpr int TextsDialogId = 454;
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdList = 1276,
        IdAll = 1086,
        IdNone = 1277,
        IdFirst = 1087,
        IdUp = 1088,
        IdDown = 1089,
        IdLast = 1090,
        IdDefault = 1297,
    };
    // The cursors of a drag: the row carried, before and after the row under
    // it, nowhere to go.
    enum : int {
        CursorCarry = ListRowDrag::CursorCarry,
        CursorBefore = ListRowDrag::CursorBefore,
        CursorAfter = ListRowDrag::CursorAfter,
        CursorNone = ListRowDrag::CursorNone
    };

    explicit CDlgColForecast(QWidget *parent = nullptr);
    ~CDlgColForecast() override;

    // The list edited (not owned); its rows are shown at once.
    void SetColumns(std::vector<tColVisible> *columns);
    int exec() override;
    void done(int result) override;

    CListCtrlCol *List() const { return m_list; }
    QPushButton *Button(int id) const;
    void OnOk();
    void OnMove(int buttonId);
    void OnCheckAll(bool checked);
    void OnDefault();
    void UpdateButtons();
    // -1 for none.
    int SelectedRow() const;
    // The cursor shown during a drag (0 while not dragging).
    int DragCursor() const { return m_drag->Cursor(); }
    int DropTarget() const { return m_drag->DropTarget(); }


private:
    void AddRow(const tColVisible &column);
    void Fill(const std::vector<tColVisible> &columns);
    void SelectRow(int row);

    std::vector<tColVisible> *m_columns = nullptr;
    CListCtrlCol *m_list = nullptr;
    ListRowDrag *m_drag = nullptr;
};
