#include "CWizardInit1.h"

#include "CLanguageSelector.h"
#include "CReadOnlyCB.h"
#include "CWizardFrame.h"
#include "ColorRef.h"
#include "OptionPageTools.h"
#include "TranslateWidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

namespace {
constexpr quint32 TitleColour = 0xCB470E;
} // namespace

CWizardInit1::CWizardInit1(CLanguageSelector &languages, std::function<void()> reloadTexts, QWidget *parent)
    : CWizardPage(DialogId, parent)
    , m_languages(languages)
    , m_reloadTexts(std::move(reloadTexts))
{
}

void CWizardInit1::OnInitDialog()
{
    QVBoxLayout *column = BuildFrame(PictureId, false);
    m_title = Numbered(new QLabel(this), TitleText);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    m_title->setFont(bold);
    QPalette p = m_title->palette();
    p.setColor(QPalette::WindowText, ColorRefToQColor(TitleColour));
    m_title->setPalette(p);
    column->addWidget(m_title);
    column->addSpacing(fontMetrics().height());
    column->addWidget(WrappedText(WelcomeText));
    column->addSpacing(fontMetrics().height());

    m_label = Numbered(new QLabel(this), LanguageLabel);
    m_list = Numbered(new CReadOnlyCB(this), LanguageList);
    m_label->setBuddy(m_list);
    auto *row = new QHBoxLayout;
    row->addWidget(m_label);
    row->addWidget(m_list, 1);
    column->addLayout(row);
    column->addStretch(1);

    TranslatePage();
    m_languages.FillLanguageCombo(m_list);
    // The welcome asks to choose the language: the list shows even when it
    // holds one, so that the page shows what it speaks of.
    const bool any = m_list->count() > 0;
    m_label->setVisible(any);
    m_list->setVisible(any);
    connect(m_list, &QComboBox::currentIndexChanged, this, &CWizardInit1::OnLanguageChosen);
}

void CWizardInit1::TranslatePage()
{
    if (!IsCreated() || !m_title)
        return;
    TranslateDialog(this, DialogId);
}

void CWizardInit1::OnLanguageChosen(int index)
{
    if (index < 0)
        return;
    m_languages.SelectLanguage(index);
    if (m_reloadTexts)
        m_reloadTexts();
    // The frame and every page built so far take the new texts.
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        if (auto *frame = qobject_cast<CWizardFrame *>(w)) {
            TranslateDialog(frame, frame->DialogId());
            for (int i = 0; i < frame->PageCount(); ++i) {
                if (CPrefsSubDlg *page = frame->Page(i))
                    page->TranslatePage();
            }
            return;
        }
    }
    TranslatePage();
}
