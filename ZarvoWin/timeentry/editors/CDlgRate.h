#pragma once
#include "tElement.h"

#include <QDialog>

class CMyEdit;
class QLineEdit;
class QPushButton;

// Creates or edits one hourly rate: name, description and value (amount
// per hour, typed with the user's decimal separator and kept with two
// decimals). "Enregistrer" (new rates only) saves and empties the fields
// for the next rate; "Enregistrer et fermer" saves and closes; "Fermer"
// closes. A new rate named like a live one asks whether to change that
// one instead.
//
// After the dialog the record's Id tells the caller whether a rate was
// stored: it is -1 after "Fermer", also when "Enregistrer" stored rates
// before. A write that fails is told and leaves the dialog and the
// record's Id as they were. DialogAnswers<CDlgRate> answers it in tests.
class CDlgRate : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 316;
    enum : int {
        IdSaveClose = 1,
        IdClose = 2,
        IdSave = 3,
        IdNameLabel = 1003,
        IdName = 1004,
        IdCommentLabel = 1005,
        IdComment = 1006,
        IdValue = 1007,
        IdValueLabel = 1008,
    };

    explicit CDlgRate(QWidget *parent = nullptr);

    // -1: a new rate; otherwise the rate of that id, deleted or not. Call
    // before running the dialog.
    void LoadRate(int id);
    const tElement &Record() const { return m_record; }

    int exec() override;

    QLineEdit *NameEdit() const { return m_name; }
    QLineEdit *CommentEdit() const { return m_comment; }
    CMyEdit *ValueEdit() const { return m_value; }
    QPushButton *SaveButton() const { return m_save; }
    QPushButton *SaveCloseButton() const { return m_saveClose; }

    // What the two save buttons do.
    void OnSaveClose();
    void OnSave();

    // The value typed: 0 for a text that is not a number or a value a
    // rate cannot hold.
    static float ReadValue(const CMyEdit *edit);

private:
    void ShowRecord();
    void ReadControls();
    // Stores the record under the wait cursor; tells a failure.
    bool Store();

    tElement m_record;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_comment = nullptr;
    CMyEdit *m_value = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_saveClose = nullptr;
};
