#include "COptDir.h"

#include "CConfiguration.h"
#include "CFolderDialog.h"
#include "COptionsContext.h"
#include "FolderMove.h"
#include "MessageBoxParams.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "SyncPending.h"
#include "TranslateWidgets.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace OptionPageTools;

COptDir::COptDir(COptionsContext &context, QWidget *parent)
    : COptFolderPage(DialogId, context, parent)
{
}

void COptDir::OnInitDialog()
{
    auto *grid = new QGridLayout;
    const auto makeRow = [&](int labelId, int editId, int browseId, int prompt, int row) {
        auto *label = Numbered(new QLabel(this), labelId);
        auto *edit = Numbered(new QLineEdit(this), editId);
        auto *browse = Numbered(new QPushButton(this), browseId);
        browse->setAutoDefault(false);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0, 1, 2);
        grid->addWidget(edit, row + 1, 0);
        grid->addWidget(browse, row + 1, 1);
        connect(browse, &QPushButton::clicked, this, [this, edit, prompt] { Browse(edit, prompt); });
        return edit;
    };
    m_users = makeRow(UsersLabel, UsersEdit, UsersBrowse, 172, 0);
    grid->setRowMinimumHeight(2, fontMetrics().height());
    m_templates = makeRow(TemplatesLabel, TemplatesEdit, TemplatesBrowse, 318, 3);
    grid->setColumnStretch(0, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);

    TranslatePage();
    const CConfiguration &config = m_context.Config();
    m_users->setText(config.usersFolder);
    m_templates->setText(config.dataFolder);
}

void COptDir::TranslatePage()
{
    if (!IsCreated() || !m_users)
        return;
    TranslateDialog(this, DialogId);
}

void COptDir::Browse(QLineEdit *edit, int prompt)
{
    CFolderDialog dialog(edit->text(), Platform::Texts::get(prompt), this);
    if (dialog.DoModal() == 1)
        edit->setText(FolderWithSlash(dialog.GetFolderPath()));
}

bool COptDir::ValidatePage()
{
    // Only questions and checks here: nothing moves before every page
    // agreed.
    m_plan.Clear();
    const CConfiguration &config = m_context.Config();
    const QString users = FolderWithSlash(m_users->text());
    const QString templates = FolderWithSlash(m_templates->text());
    // A folder never set and still empty stays unset: only what the user
    // typed or picked has to be usable. A users folder made here is its
    // owner's alone, as the databases it holds; a templates folder follows
    // the umask.
    const auto usable = [this](const QString &typed, const QString &stored, MissingFolder missing) {
        return (typed.isEmpty() && stored.trimmed().isEmpty()) || AcceptFolder(this, typed, missing);
    };
    if (!usable(users, config.usersFolder, MissingFolder::MakePrivate)
        || !usable(templates, config.dataFolder, MissingFolder::Make))
        return false;

    FolderMovePlan plan;
    const bool usersChanged = !FolderMovePlan::SameFolder(users, config.usersFolder);
    if (usersChanged && QFileInfo(config.usersFolder).isDir()) {
        const int answer = AskToMoveFiles(this, config.usersFolder, users);
        if (answer == MessageBoxAnswer::Cancel || answer == MessageBoxAnswer::Failed)
            return false;
        if (answer == MessageBoxAnswer::Yes) {
            // The users database and the folder of every user it lists.
            FolderMovePlan::Move move;
            move.source = config.usersFolder;
            move.target = users;
            move.entries = QStringList{QStringLiteral("Users.sdb")} + m_context.UserNames();
            move.lockDatabases = true;
            move.privateTarget = true;
            plan.Add(move);
        }
    }
    const bool templatesChanged = !FolderMovePlan::SameFolder(templates, config.dataFolder);
    if (templatesChanged && QFileInfo(config.dataFolder).isDir()) {
        const int answer = AskToMoveFiles(this, config.dataFolder, templates);
        if (answer == MessageBoxAnswer::Cancel || answer == MessageBoxAnswer::Failed)
            return false;
        if (answer == MessageBoxAnswer::Yes) {
            // Every file of the folder but the other folders of the
            // settings that lie inside it.
            FolderMovePlan::Move move;
            move.source = config.dataFolder;
            move.target = templates;
            move.keep = {config.usersFolder, users, config.backupFolder, config.lanFolder};
            move.keep.removeAll(QString());
            plan.Add(move);
        }
    }
    if (!CheckMoves(this, plan))
        return false;
    for (const FolderMovePlan::Move &move : plan.Moves())
        m_plan.Add(move);
    return true;
}



void COptDir::OnOK()
{
    CConfiguration &config = m_context.Config();
    const QString oldUsers = config.usersFolder;
    const QString oldTemplates = config.dataFolder;
    const QString users = FolderWithSlash(m_users->text());
    const QString templates = FolderWithSlash(m_templates->text());
    m_switched = WriteSettingsChecked(
        [&](Platform::Settings &s) {
            s.setString(u"Config", u"Rep", u"Data", templates);
            s.setString(u"Config", u"Rep", u"Users", users);
        },
        [&](Platform::Settings &s) {
            s.setString(u"Config", u"Rep", u"Data", oldTemplates);
            s.setString(u"Config", u"Rep", u"Users", oldUsers);
        });
    if (!m_switched)
        return;
    config.dataFolder = templates;
    config.usersFolder = users;
    // The records of stopped synchronisations follow the databases that
    // moved with their folder; a folder only pointed elsewhere moves
    // nothing, and the records keep naming the databases where they are.
    for (const FolderMovePlan::Move &move : m_plan.Moves())
        SyncPending::FollowMove(move.source, move.target);
    if (!FolderMovePlan::SameFolder(users, oldUsers))
        m_context.UsersFolderChanged();
    // Sent once the settings name the new folders, so that the other
    // program reads them again from there.
    m_context.PostChange(0);
}


