#pragma once
#include "CPrefsDialog.h"

class QPushButton;

// The step frame of the report settings: the captions of its pages in a
// tree on the left, the page under the caption band, and "Précédent",
// "Suivant", "Terminer" and "Annuler". It knows nothing of reports: its
// pages tell it, through queued calls, to enable or disable the navigation
// (a page that is not complete) and to swap the page set (a report kind
// that needs other pages). A hidden page has no caption in the tree and is
// skipped by Next and Back.
//
// "Terminer" runs every built page's check, then its OK, and ends with 1;
// "Annuler", Escape or closing the window tells every built page and ends
// with 2.
class CWizardDialog : public CPrefsDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 335;
    enum Control { FinishControl = 1, BackControl = 3, NextControl = 4 };

    explicit CWizardDialog(QWidget *parent = nullptr);

    // Shows the page of `page` and makes it current; false when it is not
    // one of the frame's pages.
    bool ShowPageOfWindow(CPrefsSubDlg *page);

    // Queued from a page (or any widget inside the frame), as the pages'
    // messages are: the page is complete (navigation enabled) or not
    // (Terminer, Précédent and Suivant disabled); the page set of the
    // project-tracking kind (true) or of the other kinds.
    static void PostEnableNavigation(QWidget *from, bool complete);
    static void PostKindPages(QWidget *from, bool tracking);

    // What the queued calls do.
    void EnableNavigation(bool complete);
    void ApplyKindPages(bool tracking);

    void OnNext();
    void OnBack();

    QPushButton *FinishButton() const { return OkButton(); }
    QPushButton *BackButton() const { return m_back; }
    QPushButton *NextButton() const { return m_next; }

    // Runs modally; while a DialogAnswers<CWizardDialog> lives, its next
    // answer acts instead of the user.
    int exec() override;

public slots:
    void accept() override;

protected:
    void OnPageShown(int index) override;

private:
    static CWizardDialog *FrameOf(QWidget *from);
    void ShowLater(int index);
    void UpdateNavigation();
    std::vector<bool> HiddenPages() const;

    QPushButton *m_back = nullptr;
    QPushButton *m_next = nullptr;
};
