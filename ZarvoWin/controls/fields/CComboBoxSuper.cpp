#include "CComboBoxSuper.h"

#include "ComboBoxSuperDelegate.h"
#include "ComboPopupBound.h"

#include <QStylePainter>

CComboBoxSuper::CComboBoxSuper(QWidget *parent)
    : QComboBox(parent)
{
    setItemDelegate(new ComboBoxSuperDelegate(this));
    setIconSize(QSize(16, 16));
    ComboPopupBound::Apply(this);
}

std::optional<CComboBoxSuper::ComboItemInfo> CComboBoxSuper::GetItemInfo(int index) const
{
    if (index < 0 || index >= count())
        return std::nullopt;
    ComboItemInfo info;
    const QVariant image = itemData(index, CComboBoxFiller::ImageRole);
    info.image = image.isValid() ? image.toInt() : -1;
    info.bold = itemData(index, BoldRole).toBool();
    info.itemId = itemData(index, CComboBoxFiller::DataRole).toLongLong();
    info.depth = itemData(index, CComboBoxFiller::IndentRole).toInt();
    return info;
}

void CComboBoxSuper::SetItemInfo(int index, const ComboItemInfo &info)
{
    if (index < 0 || index >= count())
        return;
    setItemData(index, info.image, CComboBoxFiller::ImageRole);
    setItemData(index, info.bold, BoldRole);
    setItemData(index, info.itemId, CComboBoxFiller::DataRole);
    setItemData(index, info.depth, CComboBoxFiller::IndentRole);
}

void CComboBoxSuper::SetTreeLines(bool treeLines)
{
    m_treeLines = treeLines;
    update();
}

void CComboBoxSuper::SetFullNameProvider(FullNameProvider provider)
{
    m_fullNames = std::move(provider);
    update();
}

void CComboBoxSuper::SetShowFullName(bool fullName)
{
    m_fullName = fullName;
    update();
}

QString CComboBoxSuper::FieldText(int index) const
{
    if (index < 0 || index >= count())
        return QString();
    if (m_fullName && m_fullNames) {
        const QString full = m_fullNames(itemData(index, CComboBoxFiller::DataRole).toLongLong());
        if (!full.isEmpty())
            return full;
    }
    return itemText(index);
}

void CComboBoxSuper::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // The frame and the arrow are the style's; the content is ours.
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const int index = currentIndex();
    const std::optional<ComboItemInfo> info = GetItemInfo(index);
    if (!info)
        return;
    QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    field.adjust(1, 0, -1, 0);
    const QColor text = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                        QPalette::ButtonText);
    ComboBoxSuperDelegate::DrawContent(painter, field, itemIcon(index), iconSize(), info->bold, FieldText(index),
                                       text, isEnabled());
}
