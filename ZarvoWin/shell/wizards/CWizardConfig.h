#pragma once
#include "CWizardFrame.h"

#include <functional>
#include <memory>

class CLanguageSelector;
class CUsers;
class CWizardInit1;
class CWizardInit2;
class CWizardInit3;

// The first-run wizard: the interface language, the folder of the
// program's data, and the first user (with the sample data if wanted). It
// has no Cancel: Escape and closing the window do nothing, it ends only by
// Finish. Finish is possible from the third page, or on the second as soon
// as the folder chosen already holds an installation.
class CWizardConfig : public CWizardFrame
{
    Q_OBJECT
public:
    static constexpr int DialogId = 425;

    // `reloadTexts` is run after the interface language changed (the
    // application's texts follow it).
    CWizardConfig(CUsers &users, CLanguageSelector &languages, std::function<void()> reloadTexts,
                  QWidget *parent = nullptr);
    ~CWizardConfig() override;

    CWizardInit1 &LanguagePage() { return *m_language; }
    CWizardInit2 &FolderPage() { return *m_folder; }
    CWizardInit3 &UserPage() { return *m_user; }

    // The frame's caption and buttons in the interface language.
    void Translate();

protected:
    void OnInitDialog() override;

private:
    std::unique_ptr<CWizardInit1> m_language;
    std::unique_ptr<CWizardInit2> m_folder;
    std::unique_ptr<CWizardInit3> m_user;
};
