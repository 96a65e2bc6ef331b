#pragma once

#include "CReportTemplate.h"
#include "tColumn.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <vector>

class CConfiguration;
class QPainter;
struct tReportDefinition;
struct tDrawContext;

// What a report template will look like: a sample page of A4 proportions
// (793 x 1122 pixels at 96 dpi) with sample columns and rows, every section
// of the template drawn on it in the order of a report, shrunk smoothly into
// the control. The page-setup and layout pages place it and tell it the
// template, the report and the margins being edited.
class CPreviewTemplate : public QWidget
{
public:
    static constexpr int PageWidth = 793;
    static constexpr int PageHeight = 1122;
    static constexpr int PageDpi = 96;

    explicit CPreviewTemplate(QWidget *parent = nullptr);
    ~CPreviewTemplate() override;

    // Where templates are looked for: the user's templates folder of the
    // settings first, then the program's for the interface language.
    void SetTemplateFolders(const QString &userFolder, const QString &programFolder);
    // The report whose kind, title and dates the sample shows (not owned;
    // none draws a time report without title).
    void SetDefinition(const tReportDefinition *definition);
    // The margins being edited, in tenths of a millimetre.
    void SetMargins(int left, int top, int right, int bottom);
    // The settings whose logo and text the page shows (the application's
    // when null).
    void SetConfiguration(const CConfiguration *configuration) { m_configuration = configuration; }

    // Loads template `name` ("<folder><name>.tpl") and repaints.
    void LoadTemplate(const QString &name);
    // The sample columns, their titles and one row for the report's kind.
    void BuildSample();

    const CReportTemplate &Template() const { return m_template; }
    const std::vector<tColumn> &SampleColumns() const { return m_columns; }
    const QStringList &SampleTitles() const { return m_titles; }
    const QStringList &SampleRow() const { return m_row; }
    int SampleKind() const { return m_sampleKind; }

    // Draws the sample page into a page image of its own (white, 96 dpi);
    // the report placeholders are left as they were found.
    QImage DrawSamplePage();

protected:
    void paintEvent(QPaintEvent *event) override;
    // Draws one section of the sample; a test may watch the order.
    virtual void DrawSampleSection(int code, int index, double &y, const tDrawContext &context, int left,
                                   int right, const QStringList *texts, const std::vector<tColumn> *columns);

private:
    int ReportKind() const;
    const CConfiguration &Configuration() const;

    CReportTemplate m_template;
    const tReportDefinition *m_definition = nullptr;
    const CConfiguration *m_configuration = nullptr;
    QString m_userFolder;
    QString m_programFolder;
    int m_margins[4] = {0, 0, 0, 0};
    int m_sampleKind = -1;
    std::vector<tColumn> m_columns;
    QStringList m_titles;
    QStringList m_row;
    QString m_duration;
    QString m_word;
    QString m_group;
};
