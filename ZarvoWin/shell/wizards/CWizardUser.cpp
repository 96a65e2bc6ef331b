#include "CWizardUser.h"

#include "CBdD.h"
#include "CUsers.h"
#include "CWaitCursor.h"
#include "CWizardUser1.h"
#include "CWizardUser2.h"
#include "MessageBoxParams.h"
#include "NewUserFiles.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"

#include <QFileInfo>
#include <QPushButton>

CWizardUser::CWizardUser(CUsers &users, const CLanguageSelector &languages, bool sampleData, QWidget *parent)
    : CWizardFrame(DialogId, true, parent)
    , m_users(users)
    , m_languages(languages)
    , m_sample(sampleData)
    , m_step1(std::make_unique<CWizardUser1>(users))
    , m_step2(std::make_unique<CWizardUser2>(users))
{
    SetButtonStyle(ButtonStyle::OneShown);
    AddPage(m_step1.get());
    if (!m_sample)
        AddPage(m_step2.get());
    SetFinishIndex(m_sample ? 0 : 1);
}

CWizardUser::~CWizardUser() = default;

void CWizardUser::OnInitDialog()
{
    TranslateDialog(this, DialogId);
    // The second step exists from the start, hidden behind the first.
    if (!m_sample)
        CreatePage(1);
}

void CWizardUser::OnNext()
{
    if (m_sample || CurrentPage() != 0 || !m_step1->ValidatePage())
        return;
    const tUsers user = m_step1->ReadUser();
    m_step2->ShowForExistingDatabase(QFileInfo::exists(user.GetDatabasePath(true)));
    ShowPage(1);
}

void CWizardUser::Warn(const QString &text)
{
    RichMessageBox(MessageBoxType::IconExclamation, this, text, Platform::Texts::get(173));
}

void CWizardUser::accept()
{
    if (!FinishButton()->isVisible() || !FinishButton()->isEnabled())
        return;
    if (m_sample ? FinishSampleMode() : FinishNormalMode())
        QDialog::accept();
}

bool CWizardUser::FinishSampleMode()
{
    if (!m_step1->ValidatePage())
        return false;
    tUsers user = m_step1->ReadUser();
    if (!NewUserFiles::MakeFolder(user)) {
        Warn(Platform::Texts::get(422));
        return false;
    }
    // The sample never takes the place of a database that was there.
    if (QFileInfo::exists(user.GetDatabasePath(true))) {
        Warn(Platform::Texts::get(424));
        return false;
    }
    const bool imported = NewUserFiles::ImportSample(m_languages, user);
    if (!imported)
        Warn(Platform::Texts::get(427));
    if (m_users.AddUser(user) != CUsers::Done) {
        // What was made for the user goes with it, so that a second try
        // does not find a database in the way.
        DeleteUserFiles(CUsers::GetUsersFolder(), user.GetFolder(), true);
        Warn(Platform::Texts::get(428));
        return false;
    }
    m_created = user.Id;
    return true;
}

bool CWizardUser::FinishNormalMode()
{
    tUsers user = m_step1->ReadUser();
    if (!NewUserFiles::MakeFolder(user)) {
        Warn(Platform::Texts::get(422));
        return false;
    }
    const CWizardUser2::Choice choice = m_step2->CurrentChoice();
    if (choice != CWizardUser2::Keep
        && !DeleteUserFiles(CUsers::GetUsersFolder(), user.GetFolder(), true)) {
        Warn(Platform::Texts::get(424));
        return false;
    }
    bool copied = true;
    if (choice == CWizardUser2::Import) {
        CWaitCursor wait;
        const CWizardUser2::Tables tables = m_step2->ChosenTables();
        tUsers source;
        const bool hasSource = m_users.LoadUserById(source, m_step2->SourceUserId());
        if (tables.projects || tables.activities || tables.rates || tables.favourites) {
            CBdD database(user.GetDatabasePath(true));
            copied = hasSource && database.IsOpen()
                     && database.ImportChosenTables(source.GetDatabasePath(true), tables.projects,
                                                    tables.activities, tables.rates, tables.favourites,
                                                    tables.tracking);
        }
        const QString sourceReports = hasSource ? source.GetReportDatabasePath() : QString();
        if (copied && tables.reports && !sourceReports.isEmpty() && QFileInfo::exists(sourceReports))
            copied = NewUserFiles::CopyDatabase(sourceReports, user.GetReportDatabasePath());
    }
    const int added = copied ? m_users.AddUser(user) : CUsers::DatabaseError;
    if (added != CUsers::Done) {
        if (added == CUsers::NameTaken)
            Warn(Platform::Texts::get(175));
        else
            Warn(Platform::Texts::get(226));
        return false;
    }
    m_created = user.Id;
    return true;
}
