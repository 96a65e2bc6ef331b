#include "CWizardUser1.h"

#include "CMyEdit.h"
#include "CUsers.h"
#include "NewUserFiles.h"
#include "OptionPageTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"
#include "UserColourControls.h"

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
    auto *nameLabel = Numbered(new QLabel(this), NameLabel);
    m_name = Numbered(new CMyEdit(this), NameEdit);
    m_name->SetFileNameMode();
    nameLabel->setBuddy(m_name);
    auto *folderLabel = Numbered(new QLabel(this), FolderLabel);
    m_folder = Numbered(new QLineEdit(this), FolderEdit);
    m_folder->setReadOnly(true);
    m_folder->setFocusPolicy(Qt::ClickFocus);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(folderLabel, 1, 0, 1, 2);
    grid->addWidget(m_folder, 2, 0, 1, 2);
    grid->setRowMinimumHeight(3, fontMetrics().height() / 2);
    m_colours = std::make_unique<UserColourControls>(this, grid, 4, GetRandomLightColor());
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);
    column->addStretch(1);

    connect(m_name, &QLineEdit::textChanged, this, &CWizardUser1::ShowFolder);
    TranslatePage();
    ShowFolder();
}

void CWizardUser1::TranslatePage()
{
    if (!IsCreated() || !m_name)
        return;
    TranslateDialog(this, DialogId);
    m_colours->Translate();
}

void CWizardUser1::ShowFolder()
{
    m_folder->setText(QDir::toNativeSeparators(CUsers::GetUsersFolder() + m_name->text()));
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
