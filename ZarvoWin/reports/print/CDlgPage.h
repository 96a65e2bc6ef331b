#pragma once
#include "CReportPapers.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

class CMyEdit;
class CPreviewTemplate;
class CReadOnlyCB;
class QRadioButton;
struct tReportDefinition;

// "Mise en page": the template, the paper, the orientation and the four
// margins of one report, with the template's preview following each
// margin as it is typed. The dialog works on a copy of the report's page
// fields; ApplyTo gives them to the report after OK, so that Annuler
// leaves the report as it was. Sizes show as centimetres with two
// decimals in the user's separator. DialogAnswers<CDlgPage> answers it in
// tests.
class CDlgPage : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 369;
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdTemplate = 1077,
        IdPaper = 1091,
        IdWidth = 1094,
        IdHeight = 1095,
        IdPortrait = 1116,
        IdLandscape = 1117,
        IdLeft = 1118,
        IdRight = 1119,
        IdTop = 1120,
        IdBottom = 1121,
        IdPreview = 1155,
        IdLayoutGroup = 21640,
        IdTemplateLabel = 21641,
        IdPaperGroup = 21642,
        IdPaperLabel = 21643,
        IdOrientationGroup = 21644,
        IdWidthLabel = 21645,
        IdHeightLabel = 21646,
        IdMarginsGroup = 21647,
        IdLeftLabel = 21648,
        IdTopLabel = 21649,
        IdRightLabel = 21650,
        IdBottomLabel = 21651,
        IdCentimetres = 21652,
    };

    // The report's page fields are copied; the folders are where
    // templates are listed from (the user's first).
    CDlgPage(const tReportDefinition &definition, const QString &userFolder, const QString &programFolder,
             QWidget *parent = nullptr);
    ~CDlgPage() override;
    int exec() override;

    // Gives the edited page fields to `definition` (after OK).
    void ApplyTo(tReportDefinition &definition) const;
    // What OK does: the controls read into the page fields, unless the
    // margins leave the report no room (the user is told which margin is
    // too large, and the dialog stays open on it).
    void OnOk();

    CReadOnlyCB *TemplateCombo() const { return m_templates; }
    CReadOnlyCB *PaperCombo() const { return m_papers; }
    CMyEdit *WidthEdit() const { return m_width; }
    CMyEdit *HeightEdit() const { return m_height; }
    CMyEdit *MarginEdit(int controlId) const;
    QRadioButton *PortraitButton() const { return m_portrait; }
    QRadioButton *LandscapeButton() const { return m_landscape; }
    CPreviewTemplate *Preview() const { return m_preview; }
    // The margins the preview shows, in tenths of a millimetre: left, top,
    // right, bottom.
    const int *PreviewMargins() const { return m_margins; }

private:
    void Fill();
    void ShowPaperSize();
    void OnMarginEdited(int index);
    int ReadTenths(const CMyEdit *edit) const;
    // False, once the user is told which margin is too large, when the
    // margins typed leave the report no room on the paper.
    bool MarginsLeaveRoom();

    std::unique_ptr<tReportDefinition> m_page;
    QString m_userFolder;
    QString m_programFolder;
    std::vector<CReportPapers::tPaper> m_paperList;
    QChar m_separator;
    int m_margins[4] = {0, 0, 0, 0};
    CReadOnlyCB *m_templates = nullptr;
    CReadOnlyCB *m_papers = nullptr;
    CMyEdit *m_width = nullptr;
    CMyEdit *m_height = nullptr;
    QRadioButton *m_portrait = nullptr;
    QRadioButton *m_landscape = nullptr;
    CMyEdit *m_marginEdits[4] = {nullptr, nullptr, nullptr, nullptr};
    CPreviewTemplate *m_preview = nullptr;
};
