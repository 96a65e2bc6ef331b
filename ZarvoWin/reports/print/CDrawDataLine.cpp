#include "CDrawDataLine.h"

#include "ReportPlaceholders.h"
#include "TemplateTokens.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

using namespace TemplateTokens;

CDrawDataLine::CDrawDataLine() : CDrawBox(KindDataLine)
{
    PerMille = true;
    Width = 1000;
}

void CDrawDataLine::ReadTokens(const QStringList &tokens, const QString &folder)
{
    CDrawBox::ReadTokens(tokens, folder);
    ReadTextTokens(tokens, 12, m_style);
    FirstColumnIndent = Number(tokens, 22);
    Separator.Sides = Number(tokens, 23);
    Separator.PenStyle = Number(tokens, 24);
    Separator.Colour = Colour(tokens, 25);
    Separator.Width = Number(tokens, 26);
    LabelSpan = Number(tokens, 27);
}

QString CDrawDataLine::GetLine() const
{
    return QLatin1String("data=") + GeometryLine() + u';' + TextLine(m_style)
        + QStringLiteral(";%1;%2;%3;%4;%5;%6\n")
              .arg(FirstColumnIndent)
              .arg(Separator.Sides)
              .arg(Separator.PenStyle)
              .arg(Separator.Colour)
              .arg(Separator.Width)
              .arg(LabelSpan);
}

// --------------------------------------------------------------- drawing

namespace {

Qt::Alignment ColumnAlignment(int align)
{
    return align == 1 ? Qt::AlignHCenter : align == 2 ? Qt::AlignRight : Qt::AlignLeft;
}

const QString &LineSample()
{
    static const QString sample = QStringLiteral("Wfg");
    return sample;
}

} // namespace

void CDrawDataLine::CellEdges(const tBand &rect, const std::vector<tColumn> &columns, std::vector<int> &edges)
{
    // Widths are thousandths of the whole; a sum beyond a thousand (a
    // sample's round figures) is shared out instead of running off the line.
    qint64 total = 0;
    for (const tColumn &column : columns)
        total += std::max(0, column.Width);
    total = std::max<qint64>(total, 1000);
    const qint64 width = qint64(rect.Right) - rect.Left;
    edges.assign(columns.size() + 1, rect.Left);
    qint64 sum = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        sum += std::max(0, columns[i].Width);
        edges[i + 1] = i + 1 == columns.size() ? rect.Right : int(rect.Left + width * sum / total);
    }
}

QString CDrawDataLine::CellText(int column, const QStringList &texts) const
{
    if (column >= LabelSpan)
        return column < texts.size() ? texts[column] : QString();
    if (column != 0)
        return QString();
    QString label = m_style.Label;
    ReplacePlaceholders(label, &texts);
    return label;
}

void CDrawDataLine::CellTextSpan(const tDrawContext &context, int column, int align, int left, int right, int &x,
                                 int &width) const
{
    x = left;
    width = right - left;
    if (align == 1)
        return;
    const int margin = std::max(0, context.ToPixelsX(column == 0 ? FirstColumnIndent : m_style.Margin));
    if (align != 2)
        x += margin;
    width -= margin;
}

CDrawDataLine::tFontResources CDrawDataLine::MakeResources(const tDrawContext &context) const
{
    tFontResources resources;
    resources.Font = context.MakeFont(m_style);
    resources.Device = context.Device;
    if (context.Device)
        resources.Metrics.emplace(resources.Font, context.Device);
    else
        resources.Metrics.emplace(resources.Font);
    resources.LineHeight = resources.Metrics->boundingRect(QRect(), Qt::TextSingleLine, LineSample()).height();
    return resources;
}

CDrawDataLine::tFontResources CDrawDataLine::ResourcesFor(const tDrawContext &context) const
{
    if (m_resources && m_resources->Device == context.Device)
        return *m_resources;
    return MakeResources(context);
}

void CDrawDataLine::CreateResources(const tDrawContext &context)
{
    m_resources = std::make_unique<tFontResources>(MakeResources(context));
}

void CDrawDataLine::ReleaseResources()
{
    m_resources.reset();
}

int CDrawDataLine::MeasureWith(const tFontResources &resources, const tDrawContext &context, const tBand &rect,
                               const QStringList &texts, const std::vector<tColumn> &columns) const
{
    std::vector<int> edges;
    CellEdges(rect, columns, edges);
    const int single = (m_style.TextFormat & 4) ? int(Qt::TextSingleLine) : 0;
    int needed = 0;
    for (int i = 0; i < int(columns.size()); ++i) {
        const QString text = CellText(i, texts);
        if (text.isEmpty())
            continue;
        // Measured in the width the text is drawn in, its margin taken off,
        // so that a text wraps as it will be drawn.
        int x = 0;
        int width = 0;
        CellTextSpan(context, i, columns[size_t(i)].Align, edges[size_t(i)], edges[size_t(i) + 1], x, width);
        const int flags = int(ColumnAlignment(columns[size_t(i)].Align)) | Qt::TextWordWrap | single;
        needed = std::max(needed, resources.Metrics->boundingRect(QRect(x, 0, std::max(width, 1), 0), flags, text).height());
    }
    if (rect.Height() > resources.LineHeight)
        needed += rect.Height() - resources.LineHeight;
    return needed;
}

int CDrawDataLine::Measure(const tDrawContext &context, const tBand &band, const QStringList *texts,
                           const std::vector<tColumn> *columns) const
{
    if (!texts || !columns || columns->empty())
        return 0;
    return MeasureWith(ResourcesFor(context), context, ObjectRect(context, band), *texts, *columns);
}

void CDrawDataLine::Draw(const tDrawContext &context, tBand &band, const QStringList *texts,
                         const std::vector<tColumn> *columns, int indent)
{
    if (!context.Painter)
        return;
    const tFontResources resources = ResourcesFor(context);
    tBand rect = ObjectRect(context, band);
    const bool withCells = texts && columns && !columns->empty();
    if (withCells) {
        const int needed = MeasureWith(resources, context, rect, *texts, *columns);
        if (rect.Height() < needed) {
            rect.Bottom = rect.Top + needed;
            band.Bottom = band.Top + needed;
        }
    }
    QPainter &painter = *context.Painter;
    painter.save();
    painter.setFont(resources.Font);
    painter.setPen(ToColour(m_style.TextColour));
    painter.setBackgroundMode(Qt::TransparentMode);
    DrawFill(context, rect);

    if (withCells) {
        const int u = std::max(0, (rect.Height() - resources.LineHeight) / 2);
        const int textTop = rect.Top + u;
        const int textHeight = std::max(0, rect.Height() - 2 * u);
        const Qt::PenStyle separatorStyle = ToPenStyle(Separator.PenStyle);
        const bool separators = Separator.Sides != 0 && separatorStyle != Qt::NoPen;
        QPen separatorPen(ToColour(Separator.Colour));
        separatorPen.setStyle(separatorStyle);
        separatorPen.setWidth(0);
        const QPen textPen = painter.pen();
        const int single = (m_style.TextFormat & 4) ? int(Qt::TextSingleLine | Qt::AlignVCenter) : 0;
        std::vector<int> edges;
        CellEdges(rect, *columns, edges);
        for (int i = 0; i < int(columns->size()); ++i) {
            const int align = (*columns)[size_t(i)].Align;
            int x = 0;
            int width = 0;
            CellTextSpan(context, i, align, edges[size_t(i)], edges[size_t(i) + 1], x, width);
            QString text = CellText(i, *texts);
            if (i == 0 && indent > 0 && !text.isEmpty())
                text.prepend(QString(2 * std::min(indent, 100), u' '));
            if (!text.isEmpty() && width > 0 && textHeight > 0) {
                painter.drawText(QRect(x, textTop, width, textHeight),
                                 int(ColumnAlignment(align)) | Qt::TextWordWrap | single, text);
            }
            if (separators && i > 0) {
                painter.setPen(separatorPen);
                DrawSegment(painter, edges[size_t(i)], rect.Top, edges[size_t(i)], rect.Bottom + 1);
                painter.setPen(textPen);
            }
        }
    }
    painter.restore();
    DrawBorder(context, rect);
}
