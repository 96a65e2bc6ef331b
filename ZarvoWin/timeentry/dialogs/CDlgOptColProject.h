#pragma once
#include <QDialog>

class QRadioButton;

// How the project column of a report names a project in its header: by
// its title or short name, or by its full name. The caller sets the
// choice, runs the dialog and reads the choice after OK; Cancel leaves it
// as it was. DialogAnswers<CDlgOptColProject> answers it in tests.
class CDlgOptColProject : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 506;
    enum : int { IdOk = 1, IdCancel = 2, IdHeader = 1409, IdShortName = 1410, IdFullName = 1411 };

    explicit CDlgOptColProject(QWidget *parent = nullptr);

    int exec() override;
    // Shows the choice; call before running the dialog.
    void SetFullName(bool fullName);
    bool FullName() const { return m_fullName; }
    QRadioButton *ShortNameButton() const { return m_short; }
    QRadioButton *FullNameButton() const { return m_full; }
    void OnOk();

private:
    bool m_fullName = true;
    QRadioButton *m_short = nullptr;
    QRadioButton *m_full = nullptr;
};
