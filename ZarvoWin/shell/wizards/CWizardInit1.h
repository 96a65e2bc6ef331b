#pragma once
#include "CWizardPage.h"

#include <functional>

class CLanguageSelector;
class CReadOnlyCB;
class QLabel;

// First page of the first-run wizard: a welcome and the interface
// language, which takes effect as soon as it is chosen (the frame and the
// page are translated again at once). The list shows whenever a language
// is installed, a single one included.
class CWizardInit1 : public CWizardPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 426;
    static constexpr int PictureId = 429;
    enum Control { TitleText = 1146, WelcomeText = 1142, LanguageLabel = 1221, LanguageList = 1109 };

    CWizardInit1(CLanguageSelector &languages, std::function<void()> reloadTexts, QWidget *parent = nullptr);

    void TranslatePage() override;
    CReadOnlyCB *LanguageCombo() const { return m_list; }

protected:
    void OnInitDialog() override;

private:
    void OnLanguageChosen(int index);

    CLanguageSelector &m_languages;
    std::function<void()> m_reloadTexts;
    QLabel *m_title = nullptr;
    QLabel *m_label = nullptr;
    CReadOnlyCB *m_list = nullptr;
};
