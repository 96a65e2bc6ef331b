#pragma once
#include "CWizardPage.h"

class CLanguageSelector;
class CUsers;
class QCheckBox;
class QLineEdit;

// Third page of the first-run wizard: the first user's name (the account's
// name proposed) and whether the user starts with the sample data. Finish
// creates the user's folder and the user, makes it the current one and,
// when asked, gives it the sample data.
class CWizardInit3 : public CWizardPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 428;
    static constexpr int PictureId = 430;
    enum Control { IntroText = 1146, NameLabel = 1003, NameEdit = 1136, SampleCheck = 1220 };

    CWizardInit3(CUsers &users, CLanguageSelector &languages, QWidget *parent = nullptr);

    void TranslatePage() override;
    // A name NewUserFiles::NameRefusal refuses keeps the page, with the
    // reason.
    bool ValidatePage() override;
    // Creates the user (see the class comment).
    void OnOK() override;

    QLineEdit *Name() const { return m_name; }
    QCheckBox *Sample() const { return m_sample; }
    // The id of the user made by Finish, -1 when none was.
    int CreatedUserId() const { return m_created; }

protected:
    void OnInitDialog() override;

private:
    CUsers &m_users;
    CLanguageSelector &m_languages;
    QLineEdit *m_name = nullptr;
    QCheckBox *m_sample = nullptr;
    int m_created = -1;
};
