#pragma once
#include "CWizardFrame.h"

#include <memory>

class CLanguageSelector;
class CUsers;
class CWizardUser1;
class CWizardUser2;

// The new-user wizard: a user's name and colour, then what its database
// starts with (kept, empty, or tables imported from another user). In the
// sample-data mode it has the first step only and gives the new user the
// sample data of the interface language. Annuler ends it without creating
// anything; Escape does nothing. After Finish, CreatedUserId() is the new
// user's id.
class CWizardUser : public CWizardFrame
{
    Q_OBJECT
public:
    static constexpr int DialogId = 437;

    CWizardUser(CUsers &users, const CLanguageSelector &languages, bool sampleData, QWidget *parent = nullptr);
    ~CWizardUser() override;

    bool IsSampleMode() const { return m_sample; }
    int CreatedUserId() const { return m_created; }
    CWizardUser1 &NameStep() { return *m_step1; }
    CWizardUser2 &DatabaseStep() { return *m_step2; }

public slots:
    // Finish: makes the user's folder and database and adds the user; a
    // failure tells why and keeps the wizard open (but a failed sample
    // import, after which the user is still added).
    void accept() override;

protected:
    void OnInitDialog() override;
    void OnNext() override;

private:
    bool FinishSampleMode();
    bool FinishNormalMode();
    void Warn(const QString &text);

    CUsers &m_users;
    const CLanguageSelector &m_languages;
    bool m_sample;
    int m_created = -1;
    std::unique_ptr<CWizardUser1> m_step1;
    std::unique_ptr<CWizardUser2> m_step2;
};
