#include "CWizardConfig.h"

#include "CWizardInit1.h"
#include "CWizardInit2.h"
#include "CWizardInit3.h"
#include "TranslateWidgets.h"

CWizardConfig::CWizardConfig(CUsers &users, CLanguageSelector &languages, std::function<void()> reloadTexts,
                             QWidget *parent)
    : CWizardFrame(DialogId, false, parent)
    , m_language(std::make_unique<CWizardInit1>(languages, std::move(reloadTexts)))
    , m_folder(std::make_unique<CWizardInit2>())
    , m_user(std::make_unique<CWizardInit3>(users, languages))
{
    AddPage(m_language.get());
    AddPage(m_folder.get());
    AddPage(m_user.get());
    SetFinishIndex(2);
}

CWizardConfig::~CWizardConfig() = default;

void CWizardConfig::OnInitDialog()
{
    Translate();
}

void CWizardConfig::Translate()
{
    TranslateDialog(this, DialogId);
}
