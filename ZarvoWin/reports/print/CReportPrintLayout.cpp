#include "CReportPrintLayout.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CReportModel.h"
#include "CReportTemplate.h"
#include "ReportMargins.h"
#include "ReportPlaceholders.h"
#include "Texts.h"
#include "tReportDefinition.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPaintDevice>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int MaxCaption = 255;

// The level index and level kind of a group row (grouped or cross table);
// false for any other row.
bool GroupOf(const CTreeItem *row, int &levelIndex, int &levelKind)
{
    if (const tReportGroupLine *group = row->Item().GroupLineOf()) {
        levelIndex = group->LevelIndex;
        levelKind = group->LevelKind;
        return true;
    }
    if (const tReportTotalLine *total = row->Item().TotalLineOf()) {
        levelIndex = total->LevelIndex;
        levelKind = total->LevelKind;
        return true;
    }
    return false;
}

} // namespace

const CConfiguration &CReportPrintLayout::Configuration() const
{
    static const CConfiguration defaults;
    if (m_configuration)
        return *m_configuration;
    const CConfiguration *application = CAppData::Configuration();
    return application ? *application : defaults;
}

bool CReportPrintLayout::TemplateLoaded() const
{
    return m_template && m_template->GetLoadState() == CReportTemplate::Loaded;
}

// ----------------------------------------------------------- print lines

void CReportPrintLayout::BuildPrintLines(const CReportModel &model, const std::vector<int> &widths)
{
    m_model = &model;
    m_lines.clear();
    m_columns.clear();
    m_captions.clear();
    m_pageStarts.assign(1, 0);
    const tReportDefinition &definition = model.Definition();
    m_crossTable = definition.Type == 3;
    m_tracking = definition.Type == 4;
    const int deepest = definition.Detail && !m_crossTable ? -1 : int(definition.Levels().size());

    const CReportRowTree &tree = model.Tree();
    struct tOpenGroup
    {
        const CTreeItem *Row;
        int Depth;
    };
    std::vector<tOpenGroup> open;
    for (int r = 0; r < tree.RootCount(); ++r) {
        const CTreeItem *root = tree.Root(r);
        // Depth first through every row, folded or not, the root left out.
        std::vector<std::pair<const CTreeItem *, int>> stack;
        stack.emplace_back(root, 0);
        while (!stack.empty()) {
            auto &[parent, next] = stack.back();
            if (next >= parent->ChildCount()) {
                stack.pop_back();
                continue;
            }
            const CTreeItem *row = parent->Child(next++);
            int levelIndex = 0;
            int levelKind = -1;
            if (!GroupOf(row, levelIndex, levelKind) || levelIndex + 1 == deepest) {
                m_lines.push_back({DetailLine, row});
            } else if (m_crossTable) {
                m_lines.push_back({GroupOneLine, row});
            } else {
                const int depth = row->Depth() - 2;
                while (!open.empty() && open.back().Depth >= depth) {
                    m_lines.push_back({GroupFooting, open.back().Row});
                    open.pop_back();
                }
                m_lines.push_back({GroupHeading, row});
                open.push_back({row, depth});
            }
            if (row->HasChildren())
                stack.emplace_back(row, 0);
        }
        while (!open.empty()) {
            m_lines.push_back({GroupFooting, open.back().Row});
            open.pop_back();
        }
        if (!m_tracking)
            m_lines.push_back({TotalLine, root});
    }

    const bool onScreen = int(widths.size()) == model.ColumnCount();
    auto widthOf = [&](int i) {
        return std::max(0, onScreen ? widths[size_t(i)] : model.Columns()[size_t(i)].Width);
    };
    qint64 sum = 0;
    for (int i = 0; i < model.ColumnCount(); ++i)
        sum += widthOf(i);
    const QStringList captions = model.GetColumnCaptions();
    for (int i = 0; i < model.ColumnCount(); ++i) {
        const CReportModel::tListColumn &column = model.Columns()[size_t(i)];
        tColumn printColumn;
        printColumn.Width = sum > 0 ? int(qint64(widthOf(i)) * 1000 / sum) : 0;
        // The list's codes are 1 right and 2 centred; the page's the reverse.
        printColumn.Align = column.Align == 2 ? 1 : column.Align == 1 ? 2 : 0;
        m_columns.push_back(printColumn);
        m_captions << (i < captions.size() ? captions[i].left(MaxCaption) : QString());
    }
}

QStringList CReportPrintLayout::LineTexts(const tLine &line) const
{
    QStringList texts;
    if (!m_model || !line.Row)
        return texts;
    const int count = m_model->ColumnCount();
    texts.reserve(count);
    for (int c = 0; c < count; ++c)
        texts << m_model->GetWrittenText(c, line.Row, true, false);
    if (m_tracking && line.Kind == DetailLine && !texts.isEmpty()) {
        const int level = std::clamp(line.Row->Depth() - 2, 0, 100);
        texts[0].prepend(QString(3 * level, u' '));
    }
    return texts;
}

void CReportPrintLayout::LineSection(const tLine &line, bool evenLine, int &code, int &index) const
{
    index = 0;
    int levelKind = -1;
    switch (line.Kind) {
    case GroupHeading:
        code = CReportTemplate::GroupHeader;
        GroupOf(line.Row, index, levelKind);
        break;
    case GroupFooting:
        code = CReportTemplate::GroupFooter;
        GroupOf(line.Row, index, levelKind);
        break;
    case GroupOneLine:
        code = CReportTemplate::GroupLine;
        GroupOf(line.Row, index, levelKind);
        break;
    case TotalLine:
        code = m_crossTable ? CReportTemplate::DataFooterRecap : CReportTemplate::DataFooter;
        break;
    default:
        code = evenLine ? CReportTemplate::DataLineEven : CReportTemplate::DataLineOdd;
        break;
    }
}

int CReportPrintLayout::LineIndent(const tLine &line) const
{
    if (line.Kind > GroupOneLine || !line.Row)
        return 0;
    int levelIndex = 0;
    int levelKind = -1;
    // A project group nested in its parent project's group is indented by
    // its depth within that ancestry.
    if (GroupOf(line.Row, levelIndex, levelKind) && levelKind == 3)
        return std::max(0, line.Row->Depth() - levelIndex - 2);
    return 0;
}

// -------------------------------------------------------------- contexts

QRect CReportPrintLayout::DrawableRect(int context) const
{
    const tContext &c = m_contexts[size_t(std::clamp(context, 0, 1))];
    return QRect(QPoint(c.Left, c.Top), QPoint(c.Right - 1, c.Bottom - 1));
}

tDrawContext CReportPrintLayout::ContextFor(int context, QPainter *painter, QPaintDevice *device) const
{
    tDrawContext drawing = painter ? tDrawContext::ForPainter(painter) : tDrawContext::ForDevice(device);
    const tContext &c = m_contexts[size_t(std::clamp(context, 0, 1))];
    drawing.ScaleX = c.ScaleX;
    drawing.ScaleY = c.ScaleY;
    return drawing;
}

void CReportPrintLayout::SetUpPrintContext(int context, QPaintDevice *device, const QRect &paper)
{
    context = std::clamp(context, 0, 1);
    const tDrawContext drawing = tDrawContext::ForDevice(device);
    tContext &c = m_contexts[size_t(context)];
    c.ScaleX = drawing.ScaleX;
    c.ScaleY = drawing.ScaleY;
    static const tReportDefinition defaults;
    const tReportDefinition &definition = m_model ? m_model->Definition() : defaults;
    QRect surface = paper;
    if (surface.isEmpty() && device)
        surface = QRect(0, 0, device->width(), device->height());
    c.Left = drawing.ToPixelsX(definition.MargeLeft);
    c.Top = drawing.ToPixelsY(definition.MargeTop);
    c.Right = tDrawContext::Clamp(double(surface.width()) - drawing.ToPixelsX(definition.MargeRight));
    c.Bottom = tDrawContext::Clamp(double(surface.height()) - drawing.ToPixelsY(definition.MargeBottom));
    // Margins that leave no room leave an empty page, never a reversed one.
    c.Right = std::max(c.Right, c.Left);
    c.Bottom = std::max(c.Bottom, c.Top);
    // Nor are such pages laid out: one page says which margin is too large.
    m_noRoom.clear();
    if (TemplateLoaded() && c.ScaleX > 0 && c.ScaleY > 0) {
        const int margins[4] = {definition.MargeLeft, definition.MargeTop, definition.MargeRight,
                                definition.MargeBottom};
        const ReportMargins::tCheck check =
            ReportMargins::Check(tDrawContext::Clamp(surface.width() / c.ScaleX),
                                 tDrawContext::Clamp(surface.height() / c.ScaleY), margins,
                                 ReportMargins::NeededHeight(m_template));
        m_noRoom = ReportMargins::Message(check, ReportMargins::UserSeparator());
    }
    if (context == PreviewContext)
        Paginate(device);

    SetPlaceholderValue(definition.ShownTitle(), PlaceholderTitle);
    // The grand total is the total row's last cell that holds one: the
    // columns may end with one that adds nothing up (the invoiced flag, a
    // title), and a labelled total with nothing after it reads as a wrong
    // result. The first cell is the row's label, never a total.
    QString total;
    if (const CTreeItem *totalRow = m_model ? m_model->TotalRow() : nullptr) {
        for (int column = m_model->ColumnCount() - 1; column > 0 && total.isEmpty(); --column)
            total = m_model->GetCellText(column, totalRow, false, false);
    }
    SetPlaceholderValue(total, PlaceholderTotal);
    SetPlaceholderDates(definition.Periode, definition.Debut, definition.Fin);
}

// ------------------------------------------------------------ pagination

int CReportPrintLayout::LineHeight(const tDrawContext &context, int code, int index, const QStringList *texts,
                                   const std::vector<tColumn> *columns) const
{
    const tContext &c = m_contexts[PreviewContext];
    const int nominal = m_template->SectionHeight(code, index, context);
    const int measured = m_template->MeasureSection(code, index, context, c.Left, c.Top, c.Right, texts, columns);
    return std::max(nominal, measured);
}

void CReportPrintLayout::Paginate(QPaintDevice *device)
{
    m_pageStarts.assign(1, 0);
    if (!TemplateLoaded() || !m_noRoom.isEmpty())
        return;
    const tDrawContext context = ContextFor(PreviewContext, nullptr, device);
    const tContext &c = m_contexts[PreviewContext];
    // Heights summed in 64 bits: a hostile template's sections are tall.
    const qint64 header = LineHeight(context, CReportTemplate::Header, 0, nullptr, nullptr);
    const qint64 columnHeadings = LineHeight(context, CReportTemplate::DataHeader, 0, &m_captions, &m_columns);
    const qint64 footer = LineHeight(context, CReportTemplate::Footer, 0, nullptr, nullptr);
    const qint64 closing = LineHeight(context, CReportTemplate::End, 0, nullptr, nullptr);
    QRect band(c.Left, c.Top, c.Right - c.Left, 0);
    const qint64 logo = device ? Configuration().DrawReportLogoAndText(band, device) - c.Top : 0;
    const qint64 title = LineHeight(context, CReportTemplate::Title, 0, nullptr, nullptr);

    m_template->CreateDataLineResources(context);
    qint64 y = qint64(c.Top) + header + columnHeadings + std::max<qint64>(0, logo) + title;
    std::vector<qint64> heights(m_lines.size(), 0);
    bool pageHasLines = false;
    bool odd = false;
    int code = 0;
    int index = 0;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const tLine &line = m_lines[i];
        const QStringList texts = LineTexts(line);
        LineSection(line, !odd, code, index);
        qint64 height = LineHeight(context, code, index, &texts, &m_columns);
        // A line too tall for a page it would open stays where it is: a
        // new page would hold no more of it.
        if (pageHasLines && y + height + footer > c.Bottom) {
            m_pageStarts.push_back(int(i));
            y = qint64(c.Top) + header + columnHeadings;
            if (line.Kind == DetailLine && odd) {
                odd = false;
                LineSection(line, true, code, index);
                height = LineHeight(context, code, index, &texts, &m_columns);
            }
            odd = false;
        }
        y += height;
        heights[i] = height;
        pageHasLines = true;
        if (line.Kind == DetailLine)
            odd = !odd;
    }
    m_template->ReleaseDataLineResources();
    if (y + closing + footer <= c.Bottom || !pageHasLines)
        return;
    // The closing (the grand total) finds no room below the last line: the
    // report's last lines go with it to a page of their own, never the
    // closing alone. They are the last line with what closes after it
    // (group footings, the total), or fewer of them where a page holds
    // less; the page they leave keeps at least one line.
    const size_t pageStart = size_t(m_pageStarts.back());
    size_t from = m_lines.size() - 1;
    while (from > pageStart + 1 && (m_lines[from].Kind == GroupFooting || m_lines[from].Kind == TotalLine))
        --from;
    for (; from > pageStart && from < m_lines.size(); ++from) {
        qint64 carried = qint64(c.Top) + header + columnHeadings + closing + footer;
        for (size_t i = from; i < m_lines.size(); ++i)
            carried += heights[i];
        if (carried <= c.Bottom) {
            m_pageStarts.push_back(int(from));
            return;
        }
    }
    m_pageStarts.push_back(-1);
}

// --------------------------------------------------------------- drawing

void CReportPrintLayout::DrawErrorPage(QPainter &painter, int loadState)
{
    DrawMessagePage(painter, Platform::Texts::get(loadState == CReportTemplate::NotFound ? 414 : 429));
}

void CReportPrintLayout::DrawMessagePage(QPainter &painter, const QString &text)
{
    const int width = painter.device() ? painter.device()->width() : 0;
    const int height = painter.device() ? painter.device()->height() : 0;
    painter.save();
    if (auto *application = qobject_cast<QApplication *>(QCoreApplication::instance())) {
        const QIcon icon = application->style()->standardIcon(QStyle::SP_MessageBoxWarning);
        icon.paint(&painter, QRect((width - 32) / 2, 30, 32, 32));
    }
    QFont font = QGuiApplication::font();
    font.setWeight(QFont::Bold);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 1.3);
    else
        font.setPixelSize(std::max(1, int(font.pixelSize() * 1.3)));
    painter.setFont(font);
    painter.setPen(QColor(0x50, 0x50, 0x50));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QRect(0, 80, width, std::max(0, height - 160)), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                     text);
    painter.restore();
}

void CReportPrintLayout::DrawPage(int context, QPainter &painter, int page)
{
    if (!TemplateLoaded()) {
        DrawErrorPage(painter, m_template ? m_template->GetLoadState() : int(CReportTemplate::NotFound));
        return;
    }
    const int pageCount = GetPageCount();
    if (page < 1 || page > pageCount)
        return;
    if (!m_noRoom.isEmpty()) {
        DrawMessagePage(painter, m_noRoom);
        return;
    }
    context = std::clamp(context, 0, 1);
    SetPlaceholderValue(QString::number(pageCount), PlaceholderNbPage);
    SetPlaceholderValue(QString::number(page), PlaceholderNumPage);
    const tDrawContext drawing = ContextFor(context, &painter, painter.device());
    const tContext &c = m_contexts[size_t(context)];
    const CReportTemplate &tpl = *m_template;

    double y = c.Top;
    tpl.DrawSection(CReportTemplate::Header, 0, y, drawing, c.Left, c.Right, nullptr, nullptr, 0);
    const int start = m_pageStarts[size_t(page - 1)];
    if (start < 0) {
        tpl.DrawSection(CReportTemplate::End, 0, y, drawing, c.Left, c.Right, nullptr, nullptr, 0);
    } else {
        if (page == 1) {
            QRect band(c.Left, tDrawContext::Clamp(y), c.Right - c.Left, 0);
            Configuration().DrawReportLogoAndText(band, &painter, false);
            y += band.height();
            tpl.DrawSection(CReportTemplate::Title, 0, y, drawing, c.Left, c.Right, nullptr, nullptr, 0);
        }
        tpl.DrawSection(CReportTemplate::DataHeader, 0, y, drawing, c.Left, c.Right, &m_captions, &m_columns, 0);
        size_t end = m_lines.size();
        if (page < pageCount && m_pageStarts[size_t(page)] >= 0)
            end = size_t(m_pageStarts[size_t(page)]);
        m_template->CreateDataLineResources(drawing);
        bool odd = false;
        int code = 0;
        int index = 0;
        for (size_t i = size_t(start); i < end; ++i) {
            const tLine &line = m_lines[i];
            const QStringList texts = LineTexts(line);
            LineSection(line, !odd, code, index);
            tpl.DrawSection(code, index, y, drawing, c.Left, c.Right, &texts, &m_columns, LineIndent(line));
            if (line.Kind == DetailLine)
                odd = !odd;
        }
        m_template->ReleaseDataLineResources();
        if (page == pageCount)
            tpl.DrawSection(CReportTemplate::End, 0, y, drawing, c.Left, c.Right, nullptr, nullptr, 0);
    }
    double footerTop = double(c.Bottom) - tpl.SectionHeight(CReportTemplate::Footer, 0, drawing);
    tpl.DrawSection(CReportTemplate::Footer, 0, footerTop, drawing, c.Left, c.Right, nullptr, nullptr, 0);
}
