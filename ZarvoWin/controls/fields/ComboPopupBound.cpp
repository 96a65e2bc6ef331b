#include "ComboPopupBound.h"

#include "CComboBoxFiller.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace {

// Room an item takes beside its text: its icon, its indent and the list's
// margins, in the widest case.
int ItemRoom(const QComboBox *combo, int row)
{
    const QModelIndex index = combo->model()->index(row, combo->modelColumn(), combo->rootModelIndex());
    // Items of the project choosers are indented by their depth, one icon
    // width a level.
    const int depth = index.data(CComboBoxFiller::IndentRole).toInt();
    const int icon = combo->itemIcon(row).isNull() ? 0 : combo->iconSize().width() + 4;
    return icon + qMax(0, depth) * combo->iconSize().width() + 4 * combo->fontMetrics().averageCharWidth();
}

} // namespace

ComboPopupBound::ComboPopupBound(QComboBox *combo)
    : QObject(combo), m_combo(combo)
{
    m_combo->view()->setTextElideMode(Qt::ElideRight);
    m_list = m_combo->view()->window();
    m_list->installEventFilter(this);
    m_combo->installEventFilter(this);
    connect(m_combo, &QComboBox::currentIndexChanged, this, &ComboPopupBound::TellCutField);
}

void ComboPopupBound::Apply(QComboBox *combo)
{
    if (combo && !combo->findChild<ComboPopupBound *>(QString(), Qt::FindDirectChildrenOnly))
        new ComboPopupBound(combo);
}

int ComboPopupBound::MaxListWidth(const QComboBox *combo)
{
    const QScreen *screen = combo->screen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    const int readable = 80 * combo->fontMetrics().averageCharWidth();
    return qMax(combo->width(), qMin(readable, screenWidth * 2 / 3));
}

bool ComboPopupBound::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::Show) {
        BoundList();
        TellCutItems();
    } else if (watched == m_combo && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        TellCutField();
    }
    return QObject::eventFilter(watched, event);
}

void ComboPopupBound::BoundList()
{
    auto *list = qobject_cast<QWidget *>(m_list);
    if (!list)
        return;
    const int widest = MaxListWidth(m_combo);
    if (list->width() <= widest)
        return;
    // The list the combo would have had was pushed back onto the screen:
    // the narrower one stands under the combo again, from its left edge (its
    // right one from right to left), as far as the screen lets it.
    QRect shape = list->geometry();
    const QRect combo(m_combo->mapToGlobal(QPoint(0, 0)), m_combo->size());
    shape.setWidth(widest);
    if (m_combo->layoutDirection() == Qt::RightToLeft)
        shape.moveRight(combo.right());
    else
        shape.moveLeft(combo.left());
    if (const QScreen *screen = m_combo->screen()) {
        const QRect room = screen->availableGeometry();
        if (shape.right() > room.right())
            shape.moveRight(room.right());
        if (shape.left() < room.left())
            shape.moveLeft(room.left());
    }
    list->setGeometry(shape);
}

void ComboPopupBound::TellCutItems()
{
    const int room = m_combo->view()->viewport()->width();
    const QFontMetrics metrics = m_combo->view()->fontMetrics();
    QAbstractItemModel *model = m_combo->model();
    for (int row = 0; row < m_combo->count(); ++row) {
        const QModelIndex index = model->index(row, m_combo->modelColumn(), m_combo->rootModelIndex());
        const QString text = index.data(Qt::DisplayRole).toString();
        const bool cut = metrics.horizontalAdvance(text) + ItemRoom(m_combo, row) > room;
        const QVariant tip = index.data(Qt::ToolTipRole);
        if (cut && !tip.isValid())
            model->setData(index, text, Qt::ToolTipRole);
        else if (!cut && tip.toString() == text)
            model->setData(index, QVariant(), Qt::ToolTipRole);
    }
}

void ComboPopupBound::TellCutField()
{
    // A tooltip of the combo's own is left alone.
    if (!m_combo->toolTip().isEmpty() && m_combo->toolTip() != m_fieldTip)
        return;
    QStyleOptionComboBox option;
    option.initFrom(m_combo);
    const QRect field = m_combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                         QStyle::SC_ComboBoxEditField, m_combo);
    const QString text = m_combo->currentText();
    const int icon = m_combo->itemIcon(m_combo->currentIndex()).isNull() ? 0 : m_combo->iconSize().width() + 4;
    m_fieldTip = m_combo->fontMetrics().horizontalAdvance(text) + icon > field.width() ? text : QString();
    m_combo->setToolTip(m_fieldTip);
}
