#include "CPrefsSubDlg.h"

CPrefsSubDlg::CPrefsSubDlg(int templateId, QWidget *parent)
    : QWidget(parent)
    , m_templateId(templateId)
{
    setProperty("dialogId", templateId);
    hide();
}

CPrefsSubDlg::~CPrefsSubDlg() = default;

bool CPrefsSubDlg::Create(QWidget *parent)
{
    if (m_created)
        return true;
    if (parent && parentWidget() != parent)
        setParent(parent);
    m_created = true;
    OnInitDialog();
    return true;
}

