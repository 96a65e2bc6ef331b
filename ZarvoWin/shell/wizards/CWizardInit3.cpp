#include "CWizardInit3.h"

#include "CUsers.h"
#include "NewUserFiles.h"
#include "OptionPageTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"
#include "UserAccount.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

CWizardInit3::CWizardInit3(CUsers &users, CLanguageSelector &languages, QWidget *parent)
    : CWizardPage(DialogId, parent)
    , m_users(users)
    , m_languages(languages)
{
}

void CWizardInit3::OnInitDialog()
{
    QVBoxLayout *column = BuildFrame(PictureId, true);
    column->addWidget(WrappedText(IntroText));
    column->addSpacing(fontMetrics().height());
    auto *label = Numbered(new QLabel(this), NameLabel);
    // The name is kept as typed; what cannot be a folder's name is refused
    // with the reason when the page is left.
    m_name = Numbered(new QLineEdit(this), NameEdit);
    m_name->setMaxLength(NewUserFiles::MaxNameLength);
    label->setBuddy(m_name);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_name, 1);
    column->addLayout(row);
    column->addSpacing(fontMetrics().height() / 2);
    m_sample = Numbered(new QCheckBox(this), SampleCheck);
    column->addWidget(m_sample);
    column->addStretch(1);

    TranslatePage();
    QString name = Platform::LoginName().left(NewUserFiles::MaxNameLength);
    if (name.isEmpty())
        name = Platform::Texts::get(398);
    m_name->setText(name);
}

void CWizardInit3::TranslatePage()
{
    if (!IsCreated() || !m_name)
        return;
    TranslateDialog(this, DialogId);
}

bool CWizardInit3::ValidatePage()
{
    tUsers user;
    user.Nom = m_name->text();
    const QString refusal = NewUserFiles::NameRefusal(m_users, user);
    if (refusal.isEmpty())
        return true;
    Warn(refusal);
    m_name->setFocus();
    return false;
}

void CWizardInit3::OnOK()
{
    const QString name = m_name->text();
    if (name.isEmpty())
        return;
    tUsers user;
    user.Nom = name;
    user.TypeColor = 1;
    user.Color = int(GetRandomLightColor());
    if (!NewUserFiles::MakeFolder(user)) {
        Warn(Platform::Texts::get(422));
        return;
    }
    // A database already in the folder is the user's: it is kept.
    const bool hadDatabase = QFileInfo::exists(user.GetDatabasePath(true));
    if (m_users.AddUser(user) != CUsers::Done) {
        Warn(Platform::Texts::get(428));
        return;
    }
    m_created = user.Id;
    // The sample goes in before the user becomes current, so that the
    // switch loads it.
    const bool sampleFailed =
        m_sample->isChecked() && (hadDatabase || !NewUserFiles::ImportSample(m_languages, user));
    m_users.SwitchUser(user.Id);
    if (sampleFailed)
        Warn(Platform::Texts::get(427));
}
