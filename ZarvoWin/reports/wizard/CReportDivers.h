#pragma once
#include "CReportPapers.h"
#include "CReportWizardPage.h"

#include <vector>

class CMyEdit;
class CPreviewTemplate;
class CReadOnlyCB;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// The layout page of the report settings: the title (made from the kind
// and the period, or the user's), the print template with its preview,
// the paper and its orientation, and the margins, lengths shown and typed
// in centimetres.
class CReportDivers : public CReportWizardPage
{
    Q_OBJECT
public:
    static constexpr int DialogId = 343;
    enum Control {
        AutoTitleCheck = 1060, TitleEdit = 1061, TemplateCombo = 1077, TemplateLabel = 1097, Preview = 1155,
        PaperCombo = 1091, WidthEdit = 1094, HeightEdit = 1095, PortraitRadio = 1116, LandscapeRadio = 1117,
        LeftMargin = 1118, RightMargin = 1119, TopMargin = 1120, BottomMargin = 1121,
        // Labels of our own.
        PaperLabel = 21500, WidthLabel = 21501, HeightLabel = 21502, LeftLabel = 21503, RightLabel = 21504,
        TopLabel = 21505, BottomLabel = 21506, MarginsGroup = 21507, PaperGroup = 21508
    };

    CReportDivers();

    // Where the templates are listed from: the user's folder first, then
    // the program's for the interface language.
    void SetTemplateFolders(const QString &userFolder, const QString &programFolder);
    // The papers offered; the default printer's unless set.
    void SetPapers(std::vector<CReportPapers::tPaper> papers);

    // Margins that leave the report no room keep the user on the page,
    // told which margin is too large.
    bool ValidatePage() override;
    void OnOK() override;
    void TranslatePage() override;

    // The template names of both folders, without ".tpl", the user's
    // first and a name of the program's folder only when the user's has
    // none of any case.
    static QStringList ListTemplates(const QString &userFolder, const QString &programFolder);

    CReadOnlyCB *TemplateBox() const { return m_template; }
    CReadOnlyCB *PaperBox() const { return m_paper; }
    CMyEdit *Edit(int control) const;
    QRadioButton *PortraitButton() const { return m_portrait; }
    QRadioButton *LandscapeButton() const { return m_landscape; }
    QCheckBox *AutoTitleBox() const { return m_autoTitle; }
    QLineEdit *TitleBox() const { return m_title; }
    CPreviewTemplate *PreviewBox() const { return m_preview; }

protected:
    void OnInitDialog() override;
    void showEvent(QShowEvent *event) override;

private:
    void ShowPaperSize();
    void MarginEdited(int control);
    void LoadPreview();

    QString m_userFolder;
    QString m_programFolder;
    std::vector<CReportPapers::tPaper> m_papers;
    bool m_papersSet = false;
    bool m_filling = false;
    QCheckBox *m_autoTitle = nullptr;
    QLineEdit *m_title = nullptr;
    CReadOnlyCB *m_template = nullptr;
    CPreviewTemplate *m_preview = nullptr;
    CReadOnlyCB *m_paper = nullptr;
    CMyEdit *m_width = nullptr;
    CMyEdit *m_height = nullptr;
    QRadioButton *m_portrait = nullptr;
    QRadioButton *m_landscape = nullptr;
    CMyEdit *m_margins[4] = {};
};
