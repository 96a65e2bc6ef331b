#pragma once
#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class CFitScrollArea;
class CPrefsStatic;
class CPrefsSubDlg;
class QHBoxLayout;
class QPushButton;
class QStackedLayout;
class QTreeWidget;
class QTreeWidgetItem;

// A modal frame of settings pages: a tree of the pages on the left, the
// page area on the right under a caption band. The frame knows nothing of
// settings: it hosts CPrefsSubDlg pages, builds each one the first time it
// is shown, and on OK runs the pages' steps (see CPrefsSubDlg) over every
// page that was built, in list order. Pages never shown take part in
// nothing, so their settings stay as they were.
//
// The pages are owned by the caller; the frame only keeps them while it
// lives (it lets go of them when destroyed, in whatever order the two go).
//
// Controls carry their ids: OK 1, Annuler 2, the tree 1104, the page area
// 1105 and the caption band 1106.
class CPrefsDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DefaultDialogId = 185;
    enum Control { OkControl = 1, CancelControl = 2, TreeControl = 1104, PageAreaControl = 1105, CaptionControl = 1106 };

    // Puts the texts of the language on a window by its dialog id (the
    // caption and every control that carries an id). The application sets
    // the translation store's; without one the frame's own buttons keep
    // their built-in texts.
    using Translator = std::function<void(QWidget *window, int dialogId)>;
    static void SetTranslator(Translator translator);

    explicit CPrefsDialog(QWidget *parent = nullptr, int dialogId = DefaultDialogId);
    ~CPrefsDialog() override;

    // Appends a page with its caption (and the number of the caption's
    // text, read again on re-translation). Refused once the frame was shown.
    // A hidden page has no item in the tree until it is shown again
    // (ShowPageAfter).
    bool AddPage(CPrefsSubDlg *page, int captionId, const QString &caption, bool hidden = false);
    bool IsPageHidden(int index) const;
    // Puts a hidden page back in the tree, right after the item of page
    // `after` (first when that page has none); nothing when it has an item.
    void ShowPageAfter(int index, int after);
    // Takes a page out of the tree; the page shown stays the current one.
    void HidePage(int index);
    void SetTitle(const QString &title);
    QString Title() const { return m_title; }
    // The text embossed at the right of the caption band.
    void SetCaptionText(const QString &text);
    // The page shown first (the first page when none, or one not in the list).
    void SetStartPage(CPrefsSubDlg *page);
    // With it, leaving a page in the tree first asks the page to validate.
    void SetValidateOnChange(bool validate) { m_validateOnChange = validate; }

    // Shows page `index`, building it the first time; false (nothing
    // changed) for an index outside the list.
    bool ShowPage(int index);
    int CurrentPage() const { return m_current; }
    int PageCount() const { return int(m_pages.size()); }
    CPrefsSubDlg *Page(int index) const;
    QString PageCaption(int index) const;
    int PageIndex(const CPrefsSubDlg *page) const;

    // Builds the frame once, as its first showing does: texts, the tree of
    // pages, then the start page. DoModal calls it; tests call it before
    // show().
    void InitDialog();
    bool IsInitialised() const { return m_initialised; }
    // Runs the frame: 1 for OK, 2 for Annuler.
    int DoModal();

    // Reloads every caption from its text number, the tree's texts, the
    // caption band, the window title and the buttons, and asks every page
    // to translate itself (a page never shown returns at once).
    void Retranslate();
    // Gives the focus to `widget` once the events waiting are handled, if
    // it still exists then.
    void FocusLater(QWidget *widget);

    QTreeWidget *Tree() const { return m_tree; }
    CPrefsStatic *CaptionBand() const { return m_caption; }
    QWidget *PageArea() const { return m_area; }
    // The page area's scrolling, which only a screen too small for the
    // frame brings into play.
    CFitScrollArea *PageScroller() const { return m_scroller; }
    QPushButton *OkButton() const { return m_ok; }
    QPushButton *CancelButton() const { return m_cancel; }

public slots:
    // OK: every built page validates (the first refusal shows that page
    // and keeps the frame open, nothing applied), prepares (a failure
    // abandons what was prepared and shows the page), stores, completes.
    void accept() override;
    // Annuler: every built page is told, then the frame closes.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    // After a page was shown and made current.
    virtual void OnPageShown(int /*index*/) {}
    // The row of the frame's buttons, for frames that add their own.
    QHBoxLayout *ButtonLayout() const { return m_buttonRow; }

private:
    struct PageRecord
    {
        QPointer<CPrefsSubDlg> page;
        int templateId = 0;
        QString caption;
        int captionId = 0;
        QTreeWidgetItem *item = nullptr;
        bool hidden = false;
    };

    void OnTreeSelection(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void SelectTreeItem(int index);
    void PlaceInTabOrder(CPrefsSubDlg *page);
    void TranslateFrame();
    // Where the screen is too small for the frame, the page area scrolls
    // so that the frame fits it.
    void FitScreen();

    int m_dialogId;
    std::vector<PageRecord> m_pages;
    QString m_title = QStringLiteral("Untitled");
    QString m_captionText;
    int m_current = -1;
    QPointer<CPrefsSubDlg> m_startPage;
    bool m_validateOnChange = false;
    bool m_initialised = false;
    bool m_selecting = false;

    QTreeWidget *m_tree = nullptr;
    CPrefsStatic *m_caption = nullptr;
    QWidget *m_area = nullptr;
    CFitScrollArea *m_scroller = nullptr;
    QStackedLayout *m_stack = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QHBoxLayout *m_buttonRow = nullptr;
};
