#pragma once
#include "COptFolderPage.h"

class QLineEdit;
class QPushButton;

// The folders page: the users folder and the report templates folder. A
// changed folder can take its files along: the page asks while it
// validates, copies once every page agreed, switches the settings on OK
// and removes the old files last, so that the folder the settings name
// always holds every file.
class COptDir : public COptFolderPage
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
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    void Browse(QLineEdit *edit, int prompt);

    QLineEdit *m_users = nullptr;
    QLineEdit *m_templates = nullptr;
};
