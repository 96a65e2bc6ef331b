#pragma once
#include <QDialog>

#include <memory>

class CListCtrlCol;
class CReportColumnSet;
class ImageList;
class ListRowDrag;
class QPushButton;
class QTreeWidgetItem;
struct tReportDefinition;

// The columns of a report, or of every report, in a list: each column's
// caption (renamed in place), its alignment (a click on the left, middle or
// right of its cell), its description, and in report mode a box that
// shows or hides it and the buttons and the drag that reorder it. In
// general mode the list holds every kind of column with the captions and
// alignments the user gave them for all reports, and says which kind of
// report each belongs to.
//
// The dialog edits the column set it is given; the caller works on a copy
// and takes it back when the dialog is confirmed. A report with no column
// shown cannot be confirmed. The window's place is kept under "Columns".
class CDlgColumn : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 454;
    enum : int {
        IdOk = 1, IdCancel = 2, IdList = 1276, IdAll = 1086, IdNone = 1277, IdFirst = 1087, IdUp = 1088,
        IdDown = 1089, IdLast = 1090, IdDefault = 1297, IdModify = 1298
    };
    // The list's columns.
    enum : int { NameColumn = 0, AlignColumn = 1, DescriptionColumn = 2, KindColumn = 3 };

    // `definition` may be null (general mode has none).
    CDlgColumn(tReportDefinition *definition, CReportColumnSet &columns, bool reportMode, QWidget *parent = nullptr);
    ~CDlgColumn() override;

    // Runs modally; while a DialogAnswers<CDlgColumn> lives, its next
    // answer acts instead of the user.
    int exec() override;
    void done(int result) override;

    CListCtrlCol *List() const { return m_list; }
    QPushButton *Button(int id) const;
    ListRowDrag *Drag() const { return m_drag; }
    bool IsReportMode() const { return m_reportMode; }

    // "L", "R" or "C" for alignments 0, 1 and 2.
    static QString AlignmentLetter(int align);

    // What the buttons and the list do, for the keyboard and tests.
    void OnMove(int buttonId);
    void OnCheckAll(bool shown);
    void OnDefault();
    void OnModify(int row);
    void OnOk();
    void SetAlignment(int row, int alignment);
    // The in-place rename's end: the text as the column's own caption.
    void Rename(int row, const QString &text);
    int SelectedRow() const;

private:
    void FillRows(int first, int last, bool clearSelection = false, int select = -1);
    void FillRow(int row);
    void SelectRow(int row);
    void UpdateButtons();
    bool MoveDropped(int target, bool before, int source);

    tReportDefinition *m_definition;
    CReportColumnSet &m_columns;
    bool m_reportMode;
    bool m_filling = false;
    std::unique_ptr<ImageList> m_images;
    CListCtrlCol *m_list = nullptr;
    ListRowDrag *m_drag = nullptr;
};
