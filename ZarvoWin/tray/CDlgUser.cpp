#include "CDlgUser.h"

#include "CReadOnlyCB.h"
#include "CTranslationStore.h"
#include "CUsers.h"
#include "CZarvoTrayApp.h"
#include "ContextHelp.h"
#include "HelpTopics.h"
#include "Settings.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"
#include "WidgetIds.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CDlgUser::CDlgUser(CZarvoTrayApp &app, QWidget *parent)
    : QDialog(parent)
    , m_app(app)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *label = new QLabel(this);
    WidgetIds::SetControlId(label, UserLabel);
    m_users = new CReadOnlyCB(this);
    WidgetIds::SetControlId(m_users, UserList);
    m_users->setMinimumWidth(fontMetrics().averageCharWidth() * 30);
    label->setBuddy(m_users);
    m_follow = new QCheckBox(this);
    WidgetIds::SetControlId(m_follow, FollowMain);
    auto *ok = new QPushButton(this);
    WidgetIds::SetControlId(ok, OkButton);
    ok->setDefault(true);
    auto *cancel = new QPushButton(this);
    WidgetIds::SetControlId(cancel, CancelButton);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_users, 1);
    auto *column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addWidget(m_follow);
    column->addStretch(1);
    QHBoxLayout *buttons = ButtonRow({ok, cancel});
    column->addLayout(buttons);
    ContextHelp::Install(this, [] { return quint32(HelpTopics::TrayUserTopic); });
    ContextHelp::AddButton(buttons, this);
    connect(ok, &QPushButton::clicked, this, &CDlgUser::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_follow, &QCheckBox::clicked, this, &CDlgUser::OnClickFollowMainUser);

    CTranslationStore texts(app.Languages(), CTranslationStore::Program::Tray);
    TranslateDialogWithStore(this, texts, DialogId);

    // The users by name, read without writing the users database.
    int selected = -1;
    const int current = app.User().userId;
    for (const CUsers::Choice &choice : CUsers().ReadUserChoices(current == 0 ? -1 : current, &selected))
        m_users->addItem(choice.name, choice.id);
    m_users->setCurrentIndex(selected);
    m_follow->setChecked(app.User().autoUser);
    m_users->setEnabled(!app.User().autoUser);
}

void CDlgUser::OnClickFollowMainUser()
{
    if (!m_follow->isChecked()) {
        m_users->setEnabled(true);
        return;
    }
    m_users->setEnabled(false);
    // The main program's user, by its exact name.
    tUsers user;
    const int index = CUsers().ReadSelectedUser(user) ? m_users->findText(user.Nom, Qt::MatchExactly | Qt::MatchCaseSensitive) : -1;
    m_users->setCurrentIndex(index);
}

void CDlgUser::accept()
{
    // The tray chooses its user again from these settings: with no user
    // chosen it has no database, never a path made of an empty name.
    const bool follow = m_follow->isChecked();
    Platform::Settings settings;
    if (follow != m_app.User().autoUser)
        settings.setInt(u"Tray", u"User", u"Auto", follow ? 1 : 0);
    const int id = m_users->currentIndex() < 0 ? -1 : m_users->currentData().toInt();
    settings.setInt(u"Tray", u"User", u"Id", id);
    QDialog::accept();
}
