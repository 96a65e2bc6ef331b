#include "CPreviewTemplate.h"

#include "CAppData.h"
#include "CConfiguration.h"
#include "CReportPrintLayout.h"
#include "ReportPlaceholders.h"
#include "StretchCopy.h"
#include "Texts.h"
#include "tDrawContext.h"
#include "tReportDefinition.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace {

// 96 dpi in the image's own unit.
constexpr int DotsPerMetre = 3780;

} // namespace

CPreviewTemplate::CPreviewTemplate(QWidget *parent) : QWidget(parent)
{
    m_duration = Platform::Texts::get(334);
    m_word = Platform::Texts::get(335);
    m_group = Platform::Texts::get(333);
}

CPreviewTemplate::~CPreviewTemplate() = default;

void CPreviewTemplate::SetTemplateFolders(const QString &userFolder, const QString &programFolder)
{
    m_userFolder = userFolder;
    m_programFolder = programFolder;
}

void CPreviewTemplate::SetDefinition(const tReportDefinition *definition)
{
    m_definition = definition;
    update();
}

void CPreviewTemplate::SetMargins(int left, int top, int right, int bottom)
{
    m_margins[0] = left;
    m_margins[1] = top;
    m_margins[2] = right;
    m_margins[3] = bottom;
    update();
}

void CPreviewTemplate::LoadTemplate(const QString &name)
{
    // Load takes the first folder's file only when it exists, so an
    // unset user folder falls through to the program's.
    m_template.Load(m_userFolder.isEmpty() ? m_programFolder : m_userFolder, name, m_programFolder);
    update();
}

int CPreviewTemplate::ReportKind() const
{
    return m_definition ? m_definition->Type : 0;
}

const CConfiguration &CPreviewTemplate::Configuration() const
{
    static const CConfiguration defaults;
    if (m_configuration)
        return *m_configuration;
    const CConfiguration *application = CAppData::Configuration();
    return application ? *application : defaults;
}

void CPreviewTemplate::BuildSample()
{
    m_columns.clear();
    m_titles.clear();
    m_row.clear();
    const int kind = ReportKind();
    if (kind == 3) {
        m_columns.push_back({400, 0});
        for (int i = 0; i < 4; ++i)
            m_columns.push_back({200, 2});
        for (int i = 0; i < 5; ++i)
            m_titles << m_word;
        m_row << m_word;
        for (int i = 0; i < 4; ++i)
            m_row << m_duration;
    } else {
        m_columns = {{400, 0}, {200, 0}, {200, 0}, {100, 0}, {100, 0}};
        for (int id : {140, 146, 147, 143, 144})
            m_titles << Platform::Texts::get(Platform::TextId(id));
        m_row << m_word << m_word << m_word << m_duration << m_duration;
    }
    m_sampleKind = kind;
}

void CPreviewTemplate::DrawSampleSection(int code, int index, double &y, const tDrawContext &context, int left,
                                         int right, const QStringList *texts, const std::vector<tColumn> *columns)
{
    m_template.DrawSection(code, index, y, context, left, right, texts, columns, 0);
}

QImage CPreviewTemplate::DrawSamplePage()
{
    if (ReportKind() != m_sampleKind)
        BuildSample();
    QImage page(PageWidth, PageHeight, QImage::Format_RGB32);
    page.setDotsPerMeterX(DotsPerMetre);
    page.setDotsPerMeterY(DotsPerMetre);
    page.fill(Qt::white);
    if (m_template.GetLoadState() != CReportTemplate::Loaded) {
        QPainter painter(&page);
        CReportPrintLayout::DrawErrorPage(painter, m_template.GetLoadState());
        return page;
    }

    // The report being laid out elsewhere finds its values as they were.
    const tPlaceholderSnapshot kept = TakePlaceholderSnapshot();
    if (!kept.initialised)
        InitReportPlaceholders();
    SetPlaceholderValue(QStringLiteral("1"), PlaceholderNumPage);
    SetPlaceholderValue(QStringLiteral("10"), PlaceholderNbPage);
    SetPlaceholderValue(m_definition ? m_definition->ShownTitle() : QString(), PlaceholderTitle);
    if (m_definition)
        SetPlaceholderDates(m_definition->Periode, m_definition->Debut, m_definition->Fin);
    SetPlaceholderValue(m_duration, PlaceholderTotal);

    QPainter painter(&page);
    tDrawContext context = tDrawContext::ForPainter(&painter);
    // The page is a fixed 96 dpi whatever the screen, in floating point.
    context.DpiX = context.DpiY = PageDpi;
    context.ScaleX = context.ScaleY = PageDpi / 254.0;
    const int left = context.ToPixelsX(m_margins[0]);
    const int top = context.ToPixelsY(m_margins[1]);
    const int right = std::max(left, PageWidth - context.ToPixelsX(m_margins[2]));
    const int bottom = std::max(top, PageHeight - context.ToPixelsY(m_margins[3]));

    m_template.CreateDataLineResources(context);
    double y = top;
    DrawSampleSection(CReportTemplate::Header, 0, y, context, left, right, nullptr, nullptr);
    QRect band(left, tDrawContext::Clamp(y), right - left, 0);
    Configuration().DrawReportLogoAndText(band, &painter, false);
    y += band.height();
    DrawSampleSection(CReportTemplate::Title, 0, y, context, left, right, nullptr, nullptr);
    DrawSampleSection(CReportTemplate::DataHeader, 0, y, context, left, right, &m_titles, &m_columns);
    if (m_sampleKind == 3) {
        for (int level = 0; level < CReportTemplate::MaxGroupLevels; ++level)
            DrawSampleSection(CReportTemplate::GroupLine, level, y, context, left, right, &m_row, &m_columns);
        DrawSampleSection(CReportTemplate::DataFooterRecap, 0, y, context, left, right, &m_row, &m_columns);
    } else {
        const QStringList groupValues{m_group, m_duration};
        for (int level = 0; level < CReportTemplate::MaxGroupLevels; ++level)
            DrawSampleSection(CReportTemplate::GroupHeader, level, y, context, left, right, &groupValues, &m_columns);
        for (int line = 0; line < 4; ++line) {
            const int code = line % 2 == 0 ? CReportTemplate::DataLineEven : CReportTemplate::DataLineOdd;
            DrawSampleSection(code, 0, y, context, left, right, &m_row, &m_columns);
        }
        for (int level = CReportTemplate::MaxGroupLevels - 1; level >= 0; --level)
            DrawSampleSection(CReportTemplate::GroupFooter, level, y, context, left, right, &groupValues, &m_columns);
        DrawSampleSection(CReportTemplate::DataFooter, 0, y, context, left, right, &m_row, &m_columns);
    }
    DrawSampleSection(CReportTemplate::End, 0, y, context, left, right, nullptr, nullptr);
    double footer = double(bottom) - m_template.SectionHeight(CReportTemplate::Footer, 0, context);
    DrawSampleSection(CReportTemplate::Footer, 0, footer, context, left, right, nullptr, nullptr);
    m_template.ReleaseDataLineResources();
    painter.end();

    RestorePlaceholderSnapshot(kept);
    return page;
}

void CPreviewTemplate::paintEvent(QPaintEvent *)
{
    const QImage page = DrawSamplePage();
    QPainter painter(this);
    StretchCopy(page, page.height(), page.width(), painter, 0, 0, width(), height());
}
