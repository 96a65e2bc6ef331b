#pragma once
#include "CWizardPage.h"
#include "tUsers.h"

#include <memory>

class QLineEdit;
class CUsers;
class UserColourControls;
class UserNameRows;

// First step of the new-user wizard: the user's name (the folder of the
// user's databases follows it as it is typed) and the colour of the user's
// tasks: the project's, the activity's, or one of the user's own chosen
// with the colour button (its automatic entry a new light colour), shown on
// a preview.
class CWizardUser1 : public CWizardPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 435;
    static constexpr int PictureId = 430;
    enum Control { IntroText = 1146, NameLabel = 1003, NameEdit = 1004, FolderLabel = 1246, FolderEdit = 1039 };

    explicit CWizardUser1(const CUsers &users, QWidget *parent = nullptr);
    ~CWizardUser1() override;

    void TranslatePage() override;
    // An empty name (174), a name that cannot be a folder's, or one that a
    // user already has (175, whatever the letter case) is refused.
    bool ValidatePage() override;

    // The user as the step describes it: id -1, the name, the colour kind
    // (1 project, 2 activity, 3 own colour, 0 "other" left on the automatic
    // entry) and the colour.
    tUsers ReadUser() const;

    QLineEdit *Name() const { return m_name; }
    QLineEdit *Folder() const { return m_folder; }
    UserColourControls *Colours() const { return m_colours.get(); }

protected:
    void OnInitDialog() override;

private:

    const CUsers &m_users;
    std::unique_ptr<UserNameRows> m_nameRows;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_folder = nullptr;
    std::unique_ptr<UserColourControls> m_colours;
};
