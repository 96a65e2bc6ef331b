#pragma once
#include "tElement.h"

#include <QDialog>

class CColorChoiceButton;
class CColorStatic;
class CReadOnlyCB;
class QLineEdit;
class QPushButton;

// Creates or edits one activity: name, description, colour (with a sample
// of text on it) and default hourly rate, to which a new rate can be added
// from here. "Enregistrer" (new activities only) saves and empties the
// fields for the next activity, with a new colour; "Enregistrer et
// Fermer" saves and closes; "Fermer" closes. A new activity named like a
// live one asks whether to change that one instead.
//
// After the dialog the record's Id tells the caller whether an activity
// was stored: it is -1 after "Fermer", also when "Enregistrer" stored
// activities before. A write that fails is told and leaves the dialog and
// the record's Id as they were. DialogAnswers<CDlgActivity> answers it in
// tests.
class CDlgActivity : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 310;
    enum : int {
        IdSaveClose = 1,
        IdClose = 2,
        IdSave = 3,
        IdNameLabel = 1003,
        IdName = 1004,
        IdCommentLabel = 1005,
        IdComment = 1006,
        IdColour = 1008,
        IdRate = 1009,
        IdAddRate = 1010,
        IdRateLabel = 1011,
        IdColourLabel = 1016,
        IdRateGroup = 1017,
        IdSampleLabel = 1018,
        IdSample = 1456,
    };

    explicit CDlgActivity(QWidget *parent = nullptr);

    // -1: a new activity; otherwise the activity of that id, deleted or
    // not. Call before running the dialog.
    void LoadActivity(int id);
    const tElement &Record() const { return m_record; }

    int exec() override;
    // Fills the dialog from the record (exec does it first).
    void Prepare();

    QLineEdit *NameEdit() const { return m_name; }
    QLineEdit *CommentEdit() const { return m_comment; }
    CReadOnlyCB *RateList() const { return m_rate; }
    CColorStatic *Sample() const { return m_sample; }
    CColorChoiceButton *ColourButton() const { return m_colourButton; }
    QPushButton *SaveButton() const { return m_save; }
    QPushButton *SaveCloseButton() const { return m_saveClose; }
    // The colour shown, and the one "Automatique" gives.
    quint32 Colour() const { return m_colour; }
    quint32 AutomaticColour() const { return m_automatic; }
    // A colour chosen; none (an empty choice) is the automatic colour.
    void OnColourChosen(bool automatic, quint32 colour);

    void OnSaveClose();
    void OnSave();
    void OnAddRate();

private:
    void ShowColour(quint32 colour);
    void ReadControls();
    bool Store();

    tElement m_record;
    bool m_prepared = false;
    quint32 m_colour = 0;
    quint32 m_automatic = 0;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_comment = nullptr;
    CReadOnlyCB *m_rate = nullptr;
    CColorStatic *m_sample = nullptr;
    CColorChoiceButton *m_colourButton = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_saveClose = nullptr;
};
