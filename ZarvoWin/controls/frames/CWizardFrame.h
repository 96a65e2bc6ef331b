#pragma once
#include <QDialog>
#include <QPointer>

#include <vector>

class CPrefsSubDlg;
class QPushButton;
class QStackedLayout;

// A modal frame that leads the user through pages, one at a time, with
// Back, Next and Finish (and Cancel when the frame has one). It knows no
// application: it hosts CPrefsSubDlg pages, builds each one the first time
// it is shown, and asks the pages, never anything else.
//
// - Showing another page first asks the page shown to validate (false
//   keeps it).
// - Finish validates every page built so far, in order (the first refusal
//   shows that page and keeps the frame open), then lets each one store its
//   values (OnOK), and ends the frame with 1.
// - Cancel (only with one) tells every built page (OnCancel) and ends with 2.
// - Escape and closing the window are Cancel. Without Cancel they do
//   nothing: the frame ends only by Finish.
// - Back is enabled past the first page, Next before the last one, and
//   Finish from the finish index on. A page may say that its state allows
//   only one of Next and Finish (PostNextState), as a page that finds its
//   work already done does.
//
// The frame holds no text of its own: the owner translates its buttons by
// their ids. The pages belong to the caller, as in CPrefsDialog; the frame
// lets go of them when it is destroyed.
//
// Controls carry their ids as object names: Finish 1, Cancel 2, Back 3,
// Next 4, the page area 1105.
class CWizardFrame : public QDialog
{
    Q_OBJECT
public:
    enum Control { FinishControl = 1, CancelControl = 2, BackControl = 3, NextControl = 4, PageAreaControl = 1105 };
    // How Next and Finish share the button row: both shown and enabled by
    // the rules above, or one place where the button that applies is shown.
    enum class ButtonStyle { BothShown, OneShown };

    CWizardFrame(int dialogId, bool withCancel, QWidget *parent = nullptr);
    ~CWizardFrame() override;

    int DialogId() const { return m_dialogId; }
    bool HasCancel() const { return m_cancel != nullptr; }
    void SetButtonStyle(ButtonStyle style) { m_style = style; }

    // Appends a page; refused once the frame was shown.
    bool AddPage(CPrefsSubDlg *page);
    int PageCount() const { return int(m_pages.size()); }
    CPrefsSubDlg *Page(int index) const;
    int PageIndex(const CPrefsSubDlg *page) const;
    // The index from which Finish is enabled (0 until set).
    void SetFinishIndex(int index) { m_finishIndex = index; }
    int FinishIndex() const { return m_finishIndex; }
    // The page shown first (0 until set).
    void SetStartPage(int index) { m_startPage = index; }

    // Shows page `index`, building it the first time, after the page shown
    // agreed to be left; false when nothing changed.
    bool ShowPage(int index);
    int CurrentPage() const { return m_current; }
    // Builds a page into the page area without showing it.
    bool CreatePage(int index);

    // What a page's state allows: true enables Next and disables Finish,
    // false the reverse. Takes effect at once.
    void SetNextState(bool nextOn);
    // The same, asked from a page (or any widget inside the frame): it
    // takes effect once the events waiting are handled, so a page may ask
    // while it is still being built.
    static void PostNextState(QWidget *from, bool nextOn);

    // Shows the start page and sets the buttons, as the first showing does.
    void InitDialog();
    bool IsInitialised() const { return m_initialised; }
    // Runs the frame: 1 for Finish, 2 for Cancel.
    int DoModal();

    QPushButton *FinishButton() const { return m_finish; }
    QPushButton *CancelButton() const { return m_cancel; }
    QPushButton *BackButton() const { return m_back; }
    QPushButton *NextButton() const { return m_next; }
    QWidget *PageArea() const { return m_area; }

public slots:
    // Finish, as the button does.
    void accept() override;
    // Cancel when the frame has one; nothing otherwise.
    void reject() override;

protected:
    // What Next and Back do; by default the page after or before the one
    // shown.
    virtual void OnNext();
    virtual void OnBack();
    // Sets Back, Next and Finish for the page shown.
    virtual void UpdateButtons();
    // Called once, before the start page is shown.
    virtual void OnInitDialog() {}

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    void SetDefaultButton(QPushButton *button);

private:
    int m_dialogId;
    std::vector<QPointer<CPrefsSubDlg>> m_pages;
    int m_current = -1;
    int m_finishIndex = 0;
    int m_startPage = 0;
    bool m_initialised = false;
    ButtonStyle m_style = ButtonStyle::BothShown;

    QWidget *m_area = nullptr;
    QStackedLayout *m_stack = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_finish = nullptr;
    QPushButton *m_cancel = nullptr;
};
