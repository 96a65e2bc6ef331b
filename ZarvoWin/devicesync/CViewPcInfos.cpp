#include "CViewPcInfos.h"

#include <QGridLayout>
#include <QLabel>

CViewPcInfos::CViewPcInfos(QWidget *parent)
    : CSyncDetailPane(DialogId, parent)
{
    for (size_t i = 0; i < m_lines.size(); ++i) {
        // The texts come from the owner, never from the language database.
        m_lines[i] = new QLabel(Grid()->parentWidget());
        m_lines[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        Grid()->addWidget(m_lines[i], int(i), 0, 1, 2);
    }
    Grid()->setRowStretch(int(m_lines.size()), 1);
}

void CViewPcInfos::SetLine(int line, const QString &text)
{
    if (line >= 0 && line < int(m_lines.size()))
        m_lines[size_t(line)]->setText(text);
}

QString CViewPcInfos::Line(int line) const
{
    return line >= 0 && line < int(m_lines.size()) ? m_lines[size_t(line)]->text() : QString();
}
