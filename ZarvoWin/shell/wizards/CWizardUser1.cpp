#include "CWizardUser1.h"

#include "CMyEdit.h"
#include "CUsers.h"
#include "NewUserFiles.h"
#include "OptionPageTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"
#include "UserColourControls.h"
#include "UserNameRows.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

CWizardUser1::CWizardUser1(const CUsers &users, QWidget *parent)
    : CWizardPage(DialogId, parent)
    , m_users(users)
{
}

CWizardUser1::~CWizardUser1() = default;

void CWizardUser1::OnInitDialog()
{
    QVBoxLayout *column = BuildFrame(PictureId, false);
    column->addWidget(WrappedText(IntroText));
    column->addSpacing(fontMetrics().height());

    auto *grid = new QGridLayout;
    m_nameRows = std::make_unique<UserNameRows>(this, grid);
    m_name = m_nameRows->Name();
    m_folder = m_nameRows->Folder();
    grid->setRowMinimumHeight(3, fontMetrics().height() / 2);
    m_colours = std::make_unique<UserColourControls>(this, grid, 4, GetRandomLightColor());
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);
    column->addStretch(1);

    TranslatePage();
}

void CWizardUser1::TranslatePage()
{
    if (!IsCreated() || !m_name)
        return;
    TranslateDialog(this, DialogId);
    m_colours->Translate();
}

tUsers CWizardUser1::ReadUser() const
{
    tUsers user;
    user.Id = -1;
    user.Nom = m_name->text();
    user.TypeColor = m_colours->TypeColor();
    user.Color = int(m_colours->Colour());
    return user;
}

bool CWizardUser1::ValidatePage()
{
    const QString refusal = NewUserFiles::NameRefusal(m_users, ReadUser());
    if (refusal.isEmpty())
        return true;
    Warn(refusal);
    m_name->setFocus();
    return false;
}
