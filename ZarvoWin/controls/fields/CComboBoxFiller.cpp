#include "CComboBoxFiller.h"

#include <QComboBox>

CComboBoxFiller::CComboBoxFiller(QComboBox *combo, ImageProvider images)
    : m_combo(combo), m_images(std::move(images))
{
}

int CComboBoxFiller::AddItem(const QString &text, int image, qintptr data, int indent)
{
    const int index = m_combo->count();
    if (m_images && image >= 0)
        m_combo->addItem(m_images(image), text, QVariant::fromValue<qlonglong>(data));
    else
        m_combo->addItem(text, QVariant::fromValue<qlonglong>(data));
    m_combo->setItemData(index, image, ImageRole);
    m_combo->setItemData(index, indent, IndentRole);
    return index;
}

void CComboBoxFiller::SetCurSel(int index)
{
    m_combo->setCurrentIndex(index);
}

int CComboBoxFiller::GetCount() const
{
    return m_combo->count();
}
