#include "COptGeneral.h"

#include "CLanguageSelector.h"
#include "COptionsContext.h"
#include "CReadOnlyCB.h"
#include "CPrefsDialog.h"
#include "CTranslationStore.h"
#include "OptionPageTools.h"
#include "TranslateWidgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace OptionPageTools;

COptGeneral::COptGeneral(COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(DialogId, parent)
    , m_context(context)
{
}

void COptGeneral::OnInitDialog()
{
    auto *form = new QFormLayout;
    m_language = Numbered(new CReadOnlyCB(this), LanguageCombo);
    m_help = Numbered(new CReadOnlyCB(this), HelpCombo);
    auto *languageLabel = Numbered(new QLabel(this), LanguageLabel);
    auto *helpLabel = Numbered(new QLabel(this), HelpLabel);
    languageLabel->setBuddy(m_language);
    helpLabel->setBuddy(m_help);
    form->addRow(languageLabel, m_language);
    form->addRow(helpLabel, m_help);

    m_credits = Numbered(new QGroupBox(this), CreditsGroup);
    // The credits are values, not texts of the window: found by their
    // names only, so that no translation walk touches them.
    m_creditLabels = new QLabel(m_credits);
    m_creditLabels->setObjectName(QString::number(CreditsLabels));
    m_creditValues = new QLabel(m_credits);
    m_creditValues->setObjectName(QString::number(CreditsValues));
    m_creditValues->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    for (QLabel *label : {m_creditLabels, m_creditValues})
        label->setTextFormat(Qt::PlainText);
    auto *credits = new QHBoxLayout(m_credits);
    credits->addWidget(m_creditLabels);
    credits->addWidget(m_creditValues, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_credits);
    layout->addStretch(1);

    TranslatePage();
    if (CLanguageSelector *languages = m_context.Languages()) {
        languages->FillLanguageCombo(m_language);
        languages->FillHelpLanguageCombo(m_help);
    }
    connect(m_language, &QComboBox::activated, this, &COptGeneral::OnLanguageChosen);
}

void COptGeneral::TranslatePage()
{
    if (!IsCreated() || !m_language)
        return;
    TranslateDialog(this, DialogId);
    QString author, email, website;
    CTranslationStore store(m_context.Languages());
    store.GetTranslatorInfo(author, email, website);
    if (author.isEmpty()) {
        m_creditLabels->clear();
        m_creditValues->clear();
        m_credits->hide();
        return;
    }
    QStringList labels{Platform::Texts::get(658)};
    QStringList values{QStringLiteral(": ") + author};
    if (!website.isEmpty()) {
        labels << Platform::Texts::get(656);
        values << QStringLiteral(": ") + website;
    }
    if (!email.isEmpty()) {
        labels << Platform::Texts::get(657);
        values << QStringLiteral(": ") + email;
    }
    m_creditLabels->setText(labels.join(u'\n'));
    m_creditValues->setText(values.join(u'\n'));
    m_credits->show();
}

void COptGeneral::OnLanguageChosen(int entry)
{
    CLanguageSelector *languages = m_context.Languages();
    if (!languages || entry < 0)
        return;
    const int index = int(languages->GetLanguages().indexOf(quint16(m_language->itemData(entry).toInt())));
    const quint16 before = languages->GetLanguage();
    languages->SelectLanguage(index);
    if (languages->GetLanguage() == before)
        return;
    // The new language holds at once, also if the dialog is then cancelled.
    m_context.RetranslateApplication();
    if (auto *frame = qobject_cast<CPrefsDialog *>(window()))
        frame->Retranslate();
}

void COptGeneral::OnOK()
{
    CLanguageSelector *languages = m_context.Languages();
    if (languages && m_help->currentIndex() >= 0)
        languages->SelectHelpLanguage(quint16(m_help->currentData().toInt()));
}
