#include "CDlgName.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "MessageBoxParams.h"
#include "RecordEditorTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>


CDlgName::CDlgName(const QString &name, QWidget *parent)
    : QDialog(parent)
    , m_name(name)
{
    auto *prompt = Numbered(new QLabel(this), IdPrompt);
    m_edit = Numbered(new QLineEdit(this), IdName);
    m_edit->setMinimumWidth(m_edit->fontMetrics().averageCharWidth() * 40);
    auto *ok = Numbered(new QPushButton(this), IdOk);
    ok->setDefault(true);
    auto *cancel = Numbered(new QPushButton(this), IdCancel);
    cancel->setAutoDefault(false);

    auto *buttons = ButtonRow({ok, cancel});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_edit);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    m_edit->setText(m_name);
    m_edit->setFocus();
    if (!m_name.isEmpty()) {
        m_edit->setSelection(0, int(m_name.size()));
    }
}

int CDlgName::exec()
{
    if (DialogAnswers<CDlgName> *answers = DialogAnswers<CDlgName>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgName::OnOk()
{
    m_name = m_edit->text();
    if (!m_name.isEmpty()) {
        accept();
        return;
    }
    RecordEditorTools::Ask(this, MessageBoxType::Ok | MessageBoxType::IconExclamation,
                           Platform::Texts::get(331), 173);
}
