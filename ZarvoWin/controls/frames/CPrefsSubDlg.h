#pragma once
#include <QWidget>

// A page of a settings frame (CPrefsDialog): the option pages, the wizard
// steps and the report settings pages derive from it. The page object is
// made by its owner; its controls are built only the first time the frame
// shows it (Create calls OnInitDialog), so a page never shown has none and
// takes part in nothing.
//
// What the frame calls, in this order when OK is pressed, on every page
// whose controls exist:
//   ValidatePage   asks and checks; false keeps the frame open on the page
//   PrepareApply   after every page validated, before any page applies:
//                  work that may still fail (copying files); false keeps
//                  the frame open on the page, and the pages prepared
//                  before it are told AbandonApply
//   OnOK           stores the page's settings
//   CompleteApply  after every page stored (removing what was moved)
// and OnCancel when the frame is cancelled. The base versions accept and
// do nothing.
//
// Escape inside a page goes on to its frame, which answers it as its
// Annuler; Enter in a one-line field presses the frame's default button,
// and a multi-line field keeps it as a line break.
class CPrefsSubDlg : public QWidget
{
    Q_OBJECT
public:
    explicit CPrefsSubDlg(int templateId, QWidget *parent = nullptr);
    ~CPrefsSubDlg() override;

    int TemplateId() const { return m_templateId; }

    // Whether the page's controls exist.
    bool IsCreated() const { return m_created; }
    // Builds the controls once, as a child of `parent` (null: where it
    // stands); true when they exist afterwards.
    bool Create(QWidget *parent);

    virtual bool ValidatePage() { return true; }
    virtual bool PrepareApply() { return true; }
    virtual void AbandonApply() {}
    virtual void OnOK() {}
    virtual void CompleteApply() {}
    virtual void OnCancel() {}
    // Reloads every text of the page and refills its lists; a page whose
    // controls do not exist returns at once.
    virtual void TranslatePage() {}

protected:
    // Builds the controls; called once by Create.
    virtual void OnInitDialog() {}

private:
    int m_templateId;
    bool m_created = false;
};
