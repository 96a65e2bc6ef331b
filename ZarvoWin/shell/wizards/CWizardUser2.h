#pragma once
#include "CWizardPage.h"

class CReadOnlyCB;
class CUsers;
class QCheckBox;
class QLabel;
class QRadioButton;

// Second step of the new-user wizard: what the new user's database starts
// with. A database already in the user's folder can be kept; otherwise a
// new one is made, empty or with chosen tables and the report definitions
// of another user.
class CWizardUser2 : public CWizardPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 436;
    enum Control {
        IntroText = 1146,
        KeepChoice = 1213,
        EmptyChoice = 1206,
        ImportChoice = 1207,
        SourceLabel = 20000,
        SourceList = 1023,
        ProjectsCheck = 1208,
        ActivitiesCheck = 1209,
        RatesCheck = 1210,
        FavouritesCheck = 1211,
        ReportsCheck = 1212,
        TrackingCheck = 1214,
    };
    enum Choice { Keep = 0, Empty = 1, Import = 2 };

    explicit CWizardUser2(const CUsers &users, QWidget *parent = nullptr);

    void TranslatePage() override;

    // Sets the text and the choices for a user whose folder already holds
    // a database (416, keep offered) or not (417, keep hidden).
    void ShowForExistingDatabase(bool exists);

    Choice CurrentChoice() const;
    // The user chosen to import from, -1 when none.
    int SourceUserId() const;
    struct Tables
    {
        bool projects = false;
        bool activities = false;
        bool rates = false;
        bool favourites = false;
        bool reports = false;
        bool tracking = false;
    };
    Tables ChosenTables() const;

protected:
    void OnInitDialog() override;

private:
    void EnableImport();

    const CUsers &m_users;
    QLabel *m_text = nullptr;
    QRadioButton *m_keep = nullptr;
    QRadioButton *m_empty = nullptr;
    QRadioButton *m_import = nullptr;
    QLabel *m_sourceLabel = nullptr;
    CReadOnlyCB *m_source = nullptr;
    QCheckBox *m_projects = nullptr;
    QCheckBox *m_activities = nullptr;
    QCheckBox *m_rates = nullptr;
    QCheckBox *m_favourites = nullptr;
    QCheckBox *m_reports = nullptr;
    QCheckBox *m_tracking = nullptr;
    bool m_existing = true;
};
