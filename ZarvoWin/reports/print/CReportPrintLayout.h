#pragma once

#include "tColumn.h"
#include "tDrawContext.h"

#include <QRect>
#include <QStringList>

#include <array>
#include <vector>

class CConfiguration;
class CReportModel;
class CReportTemplate;
class CTreeItem;
class QPaintDevice;
class QPainter;

// The pages of a report drawn from its template, without a window: the
// report's rows become print lines (group headings and footings, one-line
// groups, detail lines, the total), measured against the template's
// sections to find where each page begins, and any page is drawn into a
// painter. The report grid forwards its print layout here.
//
// Two drawing contexts are kept: 0 the page images of the preview, 1 the
// printer. Each has its own scales and drawable rectangle; measuring and
// drawing take their factors from the device in hand.
class CReportPrintLayout
{
public:
    enum LineKind { GroupHeading = 0, GroupFooting = 1, GroupOneLine = 2, DetailLine = 3, TotalLine = 4 };
    enum Context { PreviewContext = 0, PrinterContext = 1 };

    // One print line: its kind and its row of the report's tree.
    struct tLine
    {
        int Kind = DetailLine;
        const CTreeItem *Row = nullptr;
    };

    // The template the pages are drawn from (not owned; none draws the
    // error page).
    void SetTemplate(CReportTemplate *reportTemplate) { m_template = reportTemplate; }
    CReportTemplate *Template() const { return m_template; }
    // The settings whose logo and text open the first page (the
    // application's when null).
    void SetConfiguration(const CConfiguration *configuration) { m_configuration = configuration; }

    // Turns the model's tree into print lines and its list columns into
    // print columns, shared in proportion to `widths` (the widths on
    // screen, one per list column) or else to the list columns' own. The
    // model must outlive the layout's use of its rows.
    void BuildPrintLines(const CReportModel &model, const std::vector<int> &widths = {});
    // The scales and drawable rectangle of a context: the page's margins
    // inside `paper` (the page image's rectangle for the preview, the
    // device's whole surface for the printer when `paper` is empty); the
    // preview context is paginated then. Sets the title, total and date
    // placeholders from the report.
    void SetUpPrintContext(int context, QPaintDevice *device, const QRect &paper);
    // Finds where each page begins, measuring with the preview context's
    // device. The report's closing stays with its last lines: where it
    // finds no room below them, they open a page with it.
    void Paginate(QPaintDevice *device);
    // Draws page `page` (from 1) of a context; the error page when the
    // template is missing or could not be read.
    void DrawPage(int context, QPainter &painter, int page);

    // In place of a page when the template is missing (load state 1) or
    // could not be read (any other): the warning icon and the message,
    // centred across the device.
    static void DrawErrorPage(QPainter &painter, int loadState);
    // The warning icon and `text`, centred across the device.
    static void DrawMessagePage(QPainter &painter, const QString &text);
    // Why the pages hold no report: the margins leave it no room on the
    // paper (which margin is too large); empty when they leave room. The
    // layout then has one page, which says so.
    const QString &NoRoomMessage() const { return m_noRoom; }

    int GetPageCount() const { return int(m_pageStarts.size()); }
    // For each page, the index of its first print line; -1 for a page
    // that holds only the report's closing (where even the last line and
    // the closing do not fit on one page, or the last page holds one line).
    const std::vector<int> &PageStarts() const { return m_pageStarts; }
    const std::vector<tLine> &Lines() const { return m_lines; }
    const std::vector<tColumn> &Columns() const { return m_columns; }
    const QStringList &Captions() const { return m_captions; }
    QRect DrawableRect(int context) const;

    // The cell texts a line is measured and drawn with: line breaks kept,
    // nothing cut, the invoiced flag in words; in project tracking the first cell indented by three
    // spaces a level.
    QStringList LineTexts(const tLine &line) const;
    // The section code and group index a line is drawn with (detail lines:
    // the even section when `evenLine`).
    void LineSection(const tLine &line, bool evenLine, int &code, int &index) const;

private:
    struct tContext
    {
        double ScaleX = 96.0 / 254.0;
        double ScaleY = 96.0 / 254.0;
        int Left = 0;
        int Top = 0;
        int Right = 0;
        int Bottom = 0;
    };

    const CConfiguration &Configuration() const;
    bool TemplateLoaded() const;
    tDrawContext ContextFor(int context, QPainter *painter, QPaintDevice *device) const;
    // The height of a section for a line: its nominal height, or what its
    // objects measure for the texts when that is more.
    int LineHeight(const tDrawContext &context, int code, int index, const QStringList *texts,
                   const std::vector<tColumn> *columns) const;
    // The indent level a line's section is drawn with.
    int LineIndent(const tLine &line) const;

    const CReportModel *m_model = nullptr;
    CReportTemplate *m_template = nullptr;
    const CConfiguration *m_configuration = nullptr;
    std::vector<tLine> m_lines;
    std::vector<tColumn> m_columns;
    QStringList m_captions;
    std::vector<int> m_pageStarts{0};
    std::array<tContext, 2> m_contexts;
    bool m_crossTable = false;
    bool m_tracking = false;
    QString m_noRoom;
};
