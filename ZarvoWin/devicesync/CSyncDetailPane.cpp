#include "CSyncDetailPane.h"

#include "TranslateWidgets.h"
#include "WidgetIds.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

CSyncDetailPane::CSyncDetailPane(int dialogId, QWidget *parent)
    : QWidget(parent)
    , m_dialogId(dialogId)
    , m_group(new QGroupBox(this))
    , m_grid(new QGridLayout)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(FrameMargin, FrameMargin, FrameMargin, FrameMargin);
    outer->addWidget(m_group);
    m_group->setLayout(m_grid);
    const QMargins inside = m_grid->contentsMargins();
    m_grid->setContentsMargins(inside.left(), inside.top(), FieldRightMargin, inside.bottom());
    m_grid->setColumnStretch(1, 1);
    m_grid->setVerticalSpacing(3);
}

void CSyncDetailPane::SetCaption(const QString &caption)
{
    m_group->setTitle(caption);
}

QString CSyncDetailPane::Caption() const
{
    return m_group->title();
}

void CSyncDetailPane::Retranslate()
{
    TranslateDialog(this, m_dialogId);
}

QWidget *CSyncDetailPane::Field(int controlId) const
{
    const QList<QWidget *> children = m_group->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (!qobject_cast<QLabel *>(child) && WidgetIds::ControlId(child) == controlId)
            return child;
    }
    return nullptr;
}

QLabel *CSyncDetailPane::AddLine(int labelId, QWidget *field, int fieldId)
{
    auto *label = new QLabel(m_group);
    WidgetIds::SetControlId(label, labelId);
    WidgetIds::SetControlId(field, fieldId);
    const int row = m_grid->rowCount();
    m_grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->addWidget(field, row, 1);
    return label;
}
