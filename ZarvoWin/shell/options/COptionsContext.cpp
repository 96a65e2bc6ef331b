#include "COptionsContext.h"

#include "CBdD.h"
#include "CConfiguration.h"
#include "CLanguageSelector.h"
#include "CProgressDlg.h"
#include "CUsers.h"
#include "FolderMovePlan.h"
#include "Formatter.h"
#include "Texts.h"
#include "UnattendedDialogs.h"

#include <QFileDialog>

COptionsContext::COptionsContext(CConfiguration &config)
    : m_config(&config)
{
}

CLanguageSelector *COptionsContext::Languages() const
{
    return languages ? languages : CLanguageSelector::Application();
}

void COptionsContext::PostChange(int kind) const
{
    if (postChange)
        postChange(kind);
    else
        CBdD::PostChange(kind);
}

void COptionsContext::RetranslateApplication() const
{
    if (retranslateApplication)
        retranslateApplication();
}

void COptionsContext::ApplyBigIcons(bool big) const
{
    if (applyBigIcons)
        applyBigIcons(big);
}

QString COptionsContext::OpenFileName(QWidget *owner, const QString &start, const QString &filter) const
{
    if (openFileName)
        return openFileName(owner, start, filter);
    // Nobody answers in an unattended process: told, and cancelled.
    if (UnattendedDialogs::Report(QStringLiteral("file dialog to open \"%1\"").arg(start)))
        return QString();
    return QFileDialog::getOpenFileName(owner, QString(), start, filter);
}

QLocale COptionsContext::SystemLocale() const
{
    // The locale the settings object reads the first day from at start-up.
    return systemLocale ? systemLocale() : m_config->Locale();
}

QStringList COptionsContext::UserNames() const
{
    if (userNames)
        return userNames();
    CUsers users;
    QStringList names;
    for (const CUsers::Choice &choice : users.ReadUserChoices(0, nullptr))
        names << choice.name;
    return names;
}

bool COptionsContext::RunCopy(QWidget *owner, FolderMovePlan &plan) const
{
    if (runCopy)
        return runCopy(owner, plan);
    // The copy runs on the dialog's worker thread; it touches no window.
    const QString step = Platform::Texts::get(20006);
    CProgressDlg progress(
        owner,
        [&plan, step](ProgressDlgShared &shared) -> quint8 {
            const bool copied = plan.Copy([&shared] { return shared.IsCancelled(); },
                                          [&shared, &step](const QString &file) {
                                              shared.SendText(Platform::Formatter::sprintf(step, {file}));
                                          });
            return copied ? 1 : 2;
        },
        nullptr, Platform::Texts::get(128), true);
    return progress.DoModal() == UPD_SUCCESS;
}

void COptionsContext::UsersFolderChanged() const
{
    if (usersFolderChanged)
        usersFolderChanged();
}
