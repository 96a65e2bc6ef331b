#include "CDlgUser.h"

#include "CBdD.h"
#include "CMyEdit.h"
#include "ContextHelp.h"
#include "CUsers.h"
#include "CWaitCursor.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "NewUserFiles.h"
#include "OptionPageTools.h"
#include "RichMessageBox.h"
#include "SyncPending.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "CTranslationStore.h"
#include "UiUtilities.h"
#include "UserColourControls.h"
#include "UserFolderChanges.h"
#include "UserNameRows.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

CDlgUser::CDlgUser(CUsers &users, int id, bool copy, quint32 automaticColour, QWidget *parent)
    : QDialog(parent)
    , m_users(users)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (id == -1 || !m_users.LoadUserById(m_user, id)) {
        m_user = tUsers();
        m_user.Id = -1;
        m_user.TypeColor = 1;
        m_user.Color = int(GetRandomLightColor());
    } else {
        m_copy = copy;
    }
    m_openingName = m_user.Nom;

    auto *grid = new QGridLayout;
    m_nameRows = std::make_unique<UserNameRows>(this, grid);
    m_name = m_nameRows->Name();
    m_folder = m_nameRows->Folder();
    m_folder->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
    grid->setRowMinimumHeight(3, fontMetrics().height() / 2);
    m_colours = std::make_unique<UserColourControls>(this, grid, 4, automaticColour);
    grid->setColumnStretch(1, 1);

    m_ok = Numbered(new QPushButton(this), OkButton);
    m_ok->setDefault(true);
    auto *cancel = Numbered(new QPushButton(this), CancelButton);
    connect(m_ok, &QPushButton::clicked, this, &CDlgUser::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = ButtonRow({m_ok, cancel});
    ContextHelp::AddButton(buttons, this);

    auto *column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addSpacing(fontMetrics().height() / 2);
    column->addLayout(buttons);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    m_colours->Translate();
    if (m_copy) {
        setWindowTitle(Platform::Formatter::sprintf(Platform::Texts::get(645), {m_user.Nom}));
        m_ok->setText(CTranslationStore().GetDialogString(UsersDialogId, CopyButtonText));
    } else {
        m_name->setText(m_user.Nom);
    }
    m_colours->SetUser(m_user.TypeColor, quint32(m_user.Color));
    m_name->setFocus();
    // The colour button and the preview come and go with the kind: the
    // dialog takes the size its controls need each time.
    column->setSizeConstraint(QLayout::SetFixedSize);
}

CDlgUser::~CDlgUser() = default;

int CDlgUser::Warn(const QString &text)
{
    return RichMessageBox(MessageBoxType::IconExclamation, this, text, Platform::Texts::get(173));
}

bool CDlgUser::ClearFolderInTheWay(const QString &folder)
{
    const QString question = Platform::Formatter::sprintf(Platform::Texts::get(418), {QDir::toNativeSeparators(folder)});
    if (RichMessageBox(MessageBoxType::YesNo | MessageBoxType::IconQuestion, this, question,
                       Platform::Texts::get(166))
        != MessageBoxAnswer::Yes)
        return false;
    // Only a user's own folder below the users folder goes, and whole, to
    // the trash: nothing is half deleted before a step that may fail.
    if (!UserFolderChanges::IsUserFolder(CUsers::GetUsersFolder(), folder)
        || !DeleteUserFiles(CUsers::GetUsersFolder(), folder, false)) {
        Warn(Platform::Texts::get(424));
        return false;
    }
    return true;
}

void CDlgUser::accept()
{
    tUsers user = m_user;
    user.Nom = m_name->text();
    user.TypeColor = m_colours->TypeColor();
    user.Color = int(m_colours->Colour());
    if (user.Nom.isEmpty()) {
        Warn(Platform::Texts::get(174));
        m_name->setFocus();
        return;
    }
    if (m_copy ? FinishCopy(user) : FinishModify(user))
        QDialog::accept();
}

bool CDlgUser::FinishCopy(tUsers user)
{
    user.Id = -1;
    user.LastBackup = 0;
    if (const QString refusal = NewUserFiles::NameRefusal(m_users, user); !refusal.isEmpty()) {
        Warn(refusal);
        m_name->setFocus();
        return false;
    }
    const QString root = CUsers::GetUsersFolder();
    const QString folder = user.GetFolder();
    if (QFileInfo::exists(folder) && !ClearFolderInTheWay(folder))
        return false;
    if (!NewUserFiles::MakeFolder(user)) {
        Warn(Platform::Texts::get(422));
        return false;
    }
    bool copied = false;
    {
        CWaitCursor wait;
        copied = UserFolderChanges::CopyUserFiles(m_user, user);
    }
    if (!copied) {
        // Nothing half made stays behind: the folder was made just now.
        UserFolderChanges::RemoveFailedCopy(root, user);
        Warn(Platform::Formatter::sprintf(Platform::Texts::get(177), {QDir::toNativeSeparators(m_user.GetFolder()),
                                                                         QDir::toNativeSeparators(folder)}));
        return false;
    }
    const int added = m_users.AddUser(user);
    if (added != CUsers::Done) {
        UserFolderChanges::RemoveFailedCopy(root, user);
        Warn(Platform::Texts::get(added == CUsers::NameTaken ? 175 : 226));
        return added != CUsers::NameTaken;
    }
    m_created = user.Id;
    return true;
}

bool CDlgUser::FinishModify(tUsers user)
{
    if (user.Id == -1)
        return false;
    const QString root = CUsers::GetUsersFolder();
    const QString oldFolder = m_user.GetFolder();
    const QString newFolder = user.GetFolder();
    bool moved = false;
    if (user.Nom != m_openingName) {
        if (const QString refusal = NewUserFiles::NameRefusal(m_users, user); !refusal.isEmpty()) {
            Warn(refusal);
            m_name->setFocus();
            return false;
        }
        const bool sameFolder = UserFolderChanges::SameFolder(oldFolder, newFolder);
        if (!sameFolder && (QFileInfo::exists(newFolder) || QFileInfo(newFolder).isSymLink())
            && !ClearFolderInTheWay(newFolder))
            return false;
        if (QFileInfo(oldFolder).isDir()) {
            // The current user's database is reopened on its new path.
            if (user.Id == m_users.GetCurrentId())
                CBdD::CloseSharedConnection();
            if (!UserFolderChanges::RenameFolder(root, oldFolder, newFolder)) {
                Warn(Platform::Formatter::sprintf(Platform::Texts::get(177), {QDir::toNativeSeparators(oldFolder),
                                                                                 QDir::toNativeSeparators(newFolder)}));
                return false;
            }
            moved = true;
        }
    }
    if (m_users.UpdateUser(user, m_users) != CUsers::Done) {
        // The folder follows the stored name: it goes back.
        if (moved)
            UserFolderChanges::RenameFolder(root, newFolder, oldFolder);
        Warn(Platform::Texts::get(226));
        return true;
    }
    if (moved) {
        // The record of a stopped synchronisation follows the database.
        SyncPending::FollowMove(oldFolder, newFolder);
        if (user.Id == m_users.GetCurrentId())
            CBdD::PostChange(0);
    }
    return true;
}
