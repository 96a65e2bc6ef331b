#include "CDlgUsers.h"
#include "CutTextTips.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include "CBdD.h"
#include "CConfiguration.h"
#include "CDlgUser.h"
#include "CUsers.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "OptionPageTools.h"
#include "RichMessageBox.h"
#include "SyncPending.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "tUsers.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

namespace {

// Yes/No with the question icon, the check box above the buttons (its
// state in the answer's "don't tell again" bit) and our own captions.
constexpr quint32 DeleteQuestionType = MessageBoxType::YesNo | MessageBoxType::IconQuestion
                                       | MessageBoxType::DontTellAgain | MessageBoxType::CheckBoxAbove
                                       | MessageBoxType::NoTexts;

} // namespace

CDlgUsers::CDlgUsers(CUsers &users, const CConfiguration &settings, NewUserRunner newUser, QWidget *parent)
    : QDialog(parent)
    , m_users(users)
    , m_settings(settings)
    , m_newUser(std::move(newUser))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_list = Numbered(new QListWidget(this), List);
    m_list->setMinimumSize(fontMetrics().averageCharWidth() * 30, fontMetrics().height() * 14);
    CutTextTips::Apply(m_list);
    m_information = Numbered(new QPlainTextEdit(this), Information);
    m_information->setReadOnly(true);
    m_information->setFocusPolicy(Qt::ClickFocus);
    m_information->setMinimumWidth(fontMetrics().averageCharWidth() * 36);
    m_information->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto *add = Numbered(new QPushButton(this), AddButton);
    m_modify = Numbered(new QPushButton(this), ModifyButton);
    m_copy = Numbered(new QPushButton(this), CopyButton);
    m_delete = Numbered(new QPushButton(this), DeleteButton);
    m_select = Numbered(new QPushButton(this), SelectButton);
    m_select->setIcon(QIcon::fromTheme(QStringLiteral("dialog-ok-apply")));
    auto *close = Numbered(new QPushButton(this), CloseButton);

    auto *side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(m_modify);
    side->addWidget(m_copy);
    side->addWidget(m_delete);
    side->addSpacing(fontMetrics().height());
    side->addWidget(m_information, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addLayout(side);
    auto *bottom = ButtonRow({m_select, close});
    ContextHelp::AddButton(bottom, this);
    auto *column = new QVBoxLayout(this);
    column->addLayout(top, 1);
    column->addLayout(bottom);

    // A click makes a row current before it selects it: the buttons follow
    // the selection, which is what they act on.
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CDlgUsers::UpdateSelection);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CDlgUsers::OnModify);
    connect(add, &QPushButton::clicked, this, &CDlgUsers::OnAdd);
    connect(m_modify, &QPushButton::clicked, this, &CDlgUsers::OnModify);
    connect(m_copy, &QPushButton::clicked, this, &CDlgUsers::OnCopy);
    connect(m_delete, &QPushButton::clicked, this, &CDlgUsers::OnDelete);
    connect(m_select, &QPushButton::clicked, this, &CDlgUsers::accept);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    Refill(m_users.GetCurrentId());
    m_select->setDefault(true);
    m_list->setFocus();
}

CDlgUsers::~CDlgUsers() = default;

int CDlgUsers::SelectedUserId() const
{
    const QListWidgetItem *item = m_list->currentItem();
    return item && item->isSelected() ? item->data(Qt::UserRole).toInt() : -1;
}

void CDlgUsers::Refill(int selectId)
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    int selected = -1;
    // With no id to select (-1), nothing is.
    const QList<CUsers::Choice> choices = m_users.ReadUserChoices(selectId, &selected);
    for (const CUsers::Choice &choice : choices) {
        auto *item = new QListWidgetItem(choice.name, m_list);
        item->setData(Qt::UserRole, choice.id);
    }
    if (selectId != -1 && selected >= 0 && selected < m_list->count()) {
        m_list->setCurrentRow(selected);
        m_list->scrollToItem(m_list->item(selected));
    } else {
        m_list->setCurrentRow(-1);
    }
    UpdateSelection();
}

QString CDlgUsers::InformationText(const tUsers &user, const CConfiguration &settings)
{
    QStringList lines;
    const QString path = user.GetDatabasePath(true);
    CBdD database(path, CBdD::ReadOnly);
    QString lastSync;
    QString lastChange;
    if (database.IsOpen())
        database.GetSyncStamps(lastSync, lastChange);
    if (!lastSync.isEmpty()) {
        lines << Platform::Texts::get(209) + settings.FormatDate(lastSync.toLongLong(), false, true, false);
    } else if (!path.isEmpty() && QFileInfo::exists(path)) {
        const QFileInfo file(path);
        QDateTime created = file.birthTime();
        if (!created.isValid())
            created = file.lastModified();
        lines << Platform::Texts::get(438) + settings.FormatOleDate(created.toLocalTime(), false, true, false);
    }
    if (!lastChange.isEmpty())
        lines << Platform::Texts::get(208) + settings.FormatDate(lastChange.toLongLong(), false, true, false);
    const auto count = [&database](int table) {
        return database.IsOpen() ? database.AllocateRowId(table, false) : -1;
    };
    lines << Platform::Formatter::sprintf(Platform::Texts::get(579), {count(CBdD::TableTaches)});
    lines << Platform::Formatter::sprintf(Platform::Texts::get(580), {count(CBdD::TableProjets)});
    lines << Platform::Formatter::sprintf(Platform::Texts::get(581), {count(CBdD::TableActivites)});
    return lines.join(u'\n');
}

void CDlgUsers::UpdateSelection()
{
    const int id = SelectedUserId();
    const bool any = id != -1;
    for (QPushButton *button : {m_modify, m_delete, m_select, m_copy})
        button->setEnabled(any);
    if (!any) {
        m_information->clear();
        return;
    }
    tUsers user;
    if (!m_users.LoadUserById(user, id)) {
        m_information->clear();
        return;
    }
    m_information->setPlainText(InformationText(user, m_settings));
}

int CDlgUsers::Warn(const QString &text)
{
    return RichMessageBox(MessageBoxType::IconExclamation, this, text, Platform::Texts::get(173));
}

void CDlgUsers::OnAdd()
{
    if (!m_newUser)
        return;
    const int created = m_newUser(this);
    if (created != -1)
        Refill(created);
}

void CDlgUsers::OnModify()
{
    const int id = SelectedUserId();
    if (id == -1)
        return;
    CDlgUser dialog(m_users, id, false, m_settings.neutralColour, this);
    if (dialog.exec() == QDialog::Accepted)
        Refill(id);
}

void CDlgUsers::OnCopy()
{
    const int id = SelectedUserId();
    if (id == -1)
        return;
    CDlgUser dialog(m_users, id, true, m_settings.neutralColour, this);
    if (dialog.exec() == QDialog::Accepted && dialog.CreatedUserId() != -1 && dialog.CreatedUserId() != id)
        Refill(dialog.CreatedUserId());
}

void CDlgUsers::OnDelete()
{
    const int id = SelectedUserId();
    if (id == -1)
        return;
    if (m_list->count() <= 1) {
        Warn(Platform::Texts::get(420));
        return;
    }
    if (id == m_users.GetCurrentId()) {
        Warn(Platform::Texts::get(468));
        return;
    }
    MessageBoxParams params;
    InitMessageBoxParams(params);
    params.useOwnCaptions = true;
    params.buttonCaptions[MessageBoxParams::CaptionDontTellAgain] = Platform::Texts::get(163);
    params.buttonCaptions[MessageBoxParams::CaptionYes] = Platform::Texts::get(164);
    params.buttonCaptions[MessageBoxParams::CaptionNo] = Platform::Texts::get(165);
    const QString question =
        Platform::Formatter::sprintf(Platform::Texts::get(162), {m_list->currentItem()->text()});
    const int answer = RichMessageBox(DeleteQuestionType, this, question, Platform::Texts::get(166), &params);
    if (answer == MessageBoxAnswer::Failed || (answer & 0xFF) != MessageBoxAnswer::Yes)
        return;
    const bool withFiles = (answer & int(MessageBoxType::DontTellAgain)) != 0;
    tUsers deleted;
    const QString database = m_users.LoadUserById(deleted, id) ? deleted.GetDatabasePath(true) : QString();
    QString kept;
    if (!m_users.DeleteUser(id, withFiles, &kept)) {
        Warn(Platform::Texts::get(421));
        return;
    }
    // A stopped synchronisation of the user's database is nobody's any
    // more: the next user given the same id has a database of its own.
    if (!database.isEmpty())
        SyncPending::DropFor(id, database);
    Refill(-1);
    if (!kept.isEmpty())
        Warn(Platform::Formatter::sprintf(Platform::Texts::get(TextFolderKept), {QDir::toNativeSeparators(kept)}));
}

void CDlgUsers::accept()
{
    const int id = SelectedUserId();
    if (id == -1)
        return;
    m_chosen = id;
    QDialog::accept();
}
