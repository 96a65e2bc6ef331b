#include "CDlgAssocier.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include "CComboBoxFiller.h"
#include "CReadOnlyCB.h"
#include "CUsers.h"
#include "OptionPageTools.h"
#include "TranslateWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

CDlgAssocier::CDlgAssocier(CUsers &users, int userId, NewUserRunner newUser, std::function<void()> usersChanged,
                           QWidget *parent)
    : QDialog(parent)
    , m_users(users)
    , m_newUser(std::move(newUser))
    , m_usersChanged(std::move(usersChanged))
    , m_chosen(userId)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto *label = Numbered(new QLabel(this), ComboLabel);
    m_combo = Numbered(new CReadOnlyCB(this), Combo);
    m_combo->setMinimumWidth(fontMetrics().averageCharWidth() * 30);
    label->setBuddy(m_combo);
    auto *add = Numbered(new QPushButton(this), AddButton);
    auto *associate = Numbered(new QPushButton(this), AssociateButton);
    associate->setDefault(true);
    auto *cancel = Numbered(new QPushButton(this), CancelButton);

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_combo, 1);
    row->addWidget(add);
    auto *buttons = ButtonRow({associate, cancel});
    auto *column = new QVBoxLayout(this);
    column->addLayout(row);
    column->addStretch(1);
    column->addLayout(buttons);

    connect(add, &QPushButton::clicked, this, &CDlgAssocier::OnAdd);
    connect(associate, &QPushButton::clicked, this, &CDlgAssocier::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    Fill(userId);
    m_combo->setFocus();
}

void CDlgAssocier::Fill(int userId)
{
    m_combo->clear();
    CComboBoxFiller filler(m_combo);
    m_users.FillUserCombo(nullptr, filler, userId);
}

void CDlgAssocier::OnAdd()
{
    if (!m_newUser)
        return;
    const int created = m_newUser(this);
    if (created == -1)
        return;
    Fill(created);
    if (m_usersChanged)
        m_usersChanged();
}

void CDlgAssocier::accept()
{
    m_chosen = m_combo->currentIndex() < 0 ? -1 : m_combo->currentData().toInt();
    QDialog::accept();
}
