#pragma once
#include <QDialog>

#include "tReportColumn.h"

class CMyEdit;
class CReadOnlyCB;
class QGroupBox;
class QLineEdit;

// One column's caption and alignment, beside the language's defaults and
// what the user set for every report. The changes are made on a copy and
// given to the column only by OK; in general mode the column stands for
// the setting of every report and the current report's fields are left
// out.
class CDlgColumnDetail : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 462;
    enum : int {
        IdOk = 1, IdCancel = 2, LanguageCaption = 1278, Description = 1006, LanguageAlign = 1290,
        GeneralCaption = 1280, GeneralAlign = 1293, CaptionEdit = 1137, ClearCaption = 1087, AlignCombo = 1291,
        ClearAlign = 1088, DefaultGroup = 1295, GeneralGroup = 1296, CurrentGroup = 1294
    };

    // The column edited (not owned).
    CDlgColumnDetail(bool generalMode, tReportColumn &column, QWidget *parent = nullptr);

    int exec() override;

    // The name of an alignment (0 "Gauche", 1 "Droite", 2 "Centre"),
    // empty for any other.
    static QString AlignmentName(int align);

    // What the buttons do, for the keyboard and tests.
    void OnClearCaption();
    void OnClearAlign();
    void OnOk();

    CMyEdit *CaptionBox() const { return m_caption; }
    CReadOnlyCB *AlignBox() const { return m_align; }
    QLineEdit *Field(int id) const;
    // The copy being edited.
    const tReportColumn &Edited() const { return m_edited; }

private:
    void SelectAlignment(int align);

    bool m_general;
    tReportColumn &m_column;
    tReportColumn m_edited;
    CMyEdit *m_caption = nullptr;
    CReadOnlyCB *m_align = nullptr;
};
