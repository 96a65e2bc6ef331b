#include "CRestant.h"

#include "BudgetGaugeLayout.h"
#include "ColorRef.h"
#include "Formatter.h"

#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

CRestant::CRestant(QWidget *parent)
    : QWidget(parent)
{
}

void CRestant::SetColours(const std::array<quint32, 3> &colours, int midPercent)
{
    m_colours = colours;
    m_midPercent = midPercent;
    update();
}

void CRestant::SetTextFunctions(DurationText duration, PercentText percent)
{
    m_durationText = std::move(duration);
    m_percentText = std::move(percent);
    update();
}

QString CRestant::Text() const
{
    const BudgetGaugeLayout layout =
        BudgetGaugeLayout::Compute(width(), true, planned, used, ratio, useRatio, m_midPercent);
    if (layout.kind != BudgetGaugeLayout::Filled || !m_percentText)
        return {};
    const QString percent = m_percentText(layout.ratio);
    if (useRatio)
        return percent;
    if (!m_durationText)
        return {};
    return Platform::Formatter::sprintf(u"%s / %s = %s",
                                        {m_durationText(used, inDays, compact),
                                         m_durationText(planned, inDays, compact), percent});
}

QSize CRestant::sizeHint() const
{
    const QFontMetrics metrics(QApplication::font());
    return QSize(200, metrics.height() + 6);
}

void CRestant::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    const BudgetGaugeLayout layout =
        BudgetGaugeLayout::Compute(w, isEnabled(), planned, used, ratio, useRatio, m_midPercent);

    switch (layout.kind) {
    case BudgetGaugeLayout::Disabled:
        painter.fillRect(rect(), palette().color(QPalette::Window));
        break;
    case BudgetGaugeLayout::NoData:
        painter.fillRect(rect(), Qt::white);
        break;
    case BudgetGaugeLayout::Filled: {
        // The whole gradient first, then the part of it that shows.
        QImage gradient(qMax(1, w), qMax(1, h), QImage::Format_RGB32);
        {
            QPainter g(&gradient);
            const QColor start = ColorRefToQColor(m_colours[0]);
            const QColor middle = ColorRefToQColor(m_colours[1]);
            const QColor end = ColorRefToQColor(m_colours[2]);
            if (layout.split > 0) {
                QLinearGradient first(0, 0, layout.split, 0);
                first.setColorAt(0, start);
                first.setColorAt(1, middle);
                g.fillRect(QRect(0, 0, layout.split, h), first);
            }
            if (w > layout.split) {
                QLinearGradient second(layout.split, 0, w, 0);
                second.setColorAt(0, middle);
                second.setColorAt(1, end);
                g.fillRect(QRect(layout.split, 0, w - layout.split, h), second);
            }
        }
        painter.drawImage(QRect(0, 0, layout.gradientWidth, h), gradient,
                          QRect(layout.gradientSource, 0, layout.gradientWidth, h));
        const QColor rest =
            layout.restIsEndColour ? ColorRefToQColor(m_colours[2]) : palette().color(QPalette::Base);
        painter.fillRect(QRect(layout.gradientWidth, 0, w - layout.gradientWidth, h), rest);

        const QString text = Text();
        if (!text.isEmpty()) {
            painter.setFont(QApplication::font());
            painter.setPen(Qt::black);
            painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text);
        }
        break;
    }
    }

    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(QRect(0, 0, w - 1, h - 1));
}
