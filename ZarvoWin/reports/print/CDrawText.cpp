#include "CDrawText.h"

#include "ReportPlaceholders.h"

#include <QPainter>

CDrawText::CDrawText() : CDrawBox(KindText) {}

void CDrawText::ReadTokens(const QStringList &tokens, const QString &folder)
{
    CDrawBox::ReadTokens(tokens, folder);
    ReadTextTokens(tokens, 12, m_style);
}

QString CDrawText::GetLine() const
{
    return QLatin1String("text=") + GeometryLine() + u';' + TextLine(m_style) + u'\n';
}

void CDrawText::Draw(const tDrawContext &context, tBand &band, const QStringList *texts,
                     const std::vector<tColumn> *columns, int indent)
{
    CDrawBox::Draw(context, band, texts, columns, indent);
    if (!context.Painter)
        return;
    tBand rect = ObjectRect(context, band);
    const int format = m_style.TextFormat;
    if (!(format & 4)) {
        if (format & 8)
            rect.Bottom -= context.ToPixelsY(m_style.Margin);
        else
            rect.Top += context.ToPixelsY(m_style.Margin);
    }
    if (!(format & 1)) {
        if (format & 2)
            rect.Right -= context.ToPixelsX(m_style.Margin);
        else
            rect.Left += context.ToPixelsX(m_style.Margin);
    }
    QString label = m_style.Label;
    ReplacePlaceholders(label, texts);
    if (label.isEmpty() || rect.Width() <= 0 || rect.Height() <= 0)
        return;
    if (indent > 0)
        label.prepend(QString(2 * std::min(indent, 100), u' '));

    QPainter &painter = *context.Painter;
    painter.save();
    painter.setFont(context.MakeFont(m_style));
    painter.setPen(ToColour(m_style.TextColour));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()),
                     int(ToAlignment(format)) | Qt::TextWordWrap, label);
    painter.restore();
}
