#pragma once
#include "CPrefsSubDlg.h"
#include "FolderMovePlan.h"

class COptionsContext;
class QLineEdit;
class QPushButton;

// The folders page: the users folder and the report templates folder. A
// changed folder can take its files along: the page asks while it
// validates, copies once every page agreed, switches the settings on OK
// and removes the old files last, so that the folder the settings name
// always holds every file.
class COptDir : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 385;
    enum Control {
        UsersLabel = 1233,
        UsersEdit = 1136,
        UsersBrowse = 1086,
        TemplatesLabel = 1234,
        TemplatesEdit = 1137,
        TemplatesBrowse = 1087,
    };

    explicit COptDir(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    bool ValidatePage() override;
    bool PrepareApply() override;
    void AbandonApply() override;
    void OnOK() override;
    void CompleteApply() override;
    void OnCancel() override;

    const FolderMovePlan &Plan() const { return m_plan; }

protected:
    void OnInitDialog() override;

private:
    void Browse(QLineEdit *edit, int prompt);

    COptionsContext &m_context;
    QLineEdit *m_users = nullptr;
    QLineEdit *m_templates = nullptr;
    FolderMovePlan m_plan;
    bool m_switched = false;
};
