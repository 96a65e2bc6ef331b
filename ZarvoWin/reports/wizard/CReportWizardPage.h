#pragma once
#include "CPrefsSubDlg.h"

struct tReportDefinition;

// A page of the report settings: it works on the wizard's copy of one
// report's definition, which its owner hands it before the wizard runs and
// keeps alive while it runs.
class CReportWizardPage : public CPrefsSubDlg
{
    Q_OBJECT
public:
    using CPrefsSubDlg::CPrefsSubDlg;
    void SetDefinition(tReportDefinition *definition) { m_definition = definition; }
    tReportDefinition *Definition() const { return m_definition; }

protected:
    tReportDefinition *m_definition = nullptr;
};
