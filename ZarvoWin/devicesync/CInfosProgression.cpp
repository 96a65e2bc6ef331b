#include "CInfosProgression.h"

#include "Texts.h"

#include <QPainter>
#include <algorithm>

CInfosProgression::CInfosProgression(QWidget *parent)
    : QWidget(parent)
    , m_done(QIcon::fromTheme(QStringLiteral("dialog-ok-apply")))
    , m_failed(QIcon::fromTheme(QStringLiteral("dialog-error")))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CInfosProgression::AppendStep(const QString &text, int state)
{
    m_steps.push_back(Step{text, state});
    updateGeometry();
    repaint();
}

void CInfosProgression::SetLastStepState(int state)
{
    if (m_steps.empty())
        return;
    m_steps.back().state = state;
    repaint();
}

int CInfosProgression::RowHeight() const
{
    return std::max(20, fontMetrics().boundingRect(QStringLiteral("Wpj")).height());
}

QSize CInfosProgression::sizeHint() const
{
    return minimumSizeHint();
}

QSize CInfosProgression::minimumSizeHint() const
{
    // The widest of a running step's text and a finished one's with its icon.
    const QString running = QStringLiteral(" : ") + Platform::Texts::get(252);
    int width = 360;
    for (const Step &step : m_steps) {
        const int text = fontMetrics().horizontalAdvance(step.text);
        width = std::max({width, 5 + text + fontMetrics().horizontalAdvance(running) + 5, 5 + text + 10 + 16 + 5});
    }
    return QSize(width, RowHeight() * std::max<int>(8, int(m_steps.size())));
}

void CInfosProgression::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    const int rowHeight = RowHeight();
    const QString running = QStringLiteral(" : ") + Platform::Texts::get(252);
    int top = 0;
    for (const Step &step : m_steps) {
        const QRect row(5, top, width() - 5, rowHeight);
        if (step.state == Running) {
            painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, step.text + running);
        } else {
            painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, step.text);
            const int textWidth = fontMetrics().horizontalAdvance(step.text);
            const QIcon &icon = step.state == Done ? m_done : m_failed;
            icon.paint(&painter, QRect(5 + textWidth + 10, top + 2, 16, 16));
        }
        top += rowHeight;
    }
}
