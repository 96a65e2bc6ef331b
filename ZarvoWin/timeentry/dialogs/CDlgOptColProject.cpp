#include "CDlgOptColProject.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "RecordEditorTools.h"
#include "TranslateWidgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>


CDlgOptColProject::CDlgOptColProject(QWidget *parent)
    : QDialog(parent)
{
    auto *header = Numbered(new QGroupBox(this), IdHeader);
    m_short = Numbered(new QRadioButton(header), IdShortName);
    m_full = Numbered(new QRadioButton(header), IdFullName);
    auto *choices = new QVBoxLayout(header);
    choices->addWidget(m_short);
    choices->addWidget(m_full);

    auto *ok = Numbered(new QPushButton(this), IdOk);
    ok->setDefault(true);
    auto *cancel = Numbered(new QPushButton(this), IdCancel);
    cancel->setAutoDefault(false);
    auto *buttons = ButtonRow({ok, cancel});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    SetFullName(m_fullName);
}

int CDlgOptColProject::exec()
{
    if (DialogAnswers<CDlgOptColProject> *answers = DialogAnswers<CDlgOptColProject>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgOptColProject::SetFullName(bool fullName)
{
    m_fullName = fullName;
    (fullName ? m_full : m_short)->setChecked(true);
}

void CDlgOptColProject::OnOk()
{
    m_fullName = !m_short->isChecked();
    accept();
}
