#include "RecordEditorTools.h"

#include "CBdD.h"
#include "CComboBoxFiller.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Texts.h"

#include <QComboBox>

namespace RecordEditorTools {

int Ask(QWidget *owner, quint32 type, const QString &text, int captionId)
{
    return RichMessageBox(type, owner, text, Platform::Texts::get(captionId));
}

void ShowNameMissing(QWidget *owner)
{
    Ask(owner, MessageBoxType::Ok | MessageBoxType::IconExclamation, Platform::Texts::get(174), 173);
}

void ShowWriteFailure(QWidget *owner)
{
    Ask(owner, MessageBoxType::Ok | MessageBoxType::IconExclamation, Platform::Texts::get(226), 173);
}

void FillRateList(QComboBox *combo, int currentId)
{
    combo->clear();
    CComboBoxFiller filler(combo);
    filler.SetCurSel(filler.AddItem(Platform::Texts::get(185), -1, -1, 0));
    CBdD db;
    db.FillRateCombo(filler, currentId);
}

int SelectedData(const QComboBox *combo)
{
    const int row = combo->currentIndex();
    if (row < 0)
        return -1;
    const QVariant data = combo->itemData(row, CComboBoxFiller::DataRole);
    return data.isValid() ? data.toInt() : -1;
}

bool SelectRowWithData(QComboBox *combo, qint64 data, int firstRow)
{
    for (int row = qMax(0, firstRow); row < combo->count(); ++row) {
        const QVariant value = combo->itemData(row, CComboBoxFiller::DataRole);
        if (value.isValid() && value.toLongLong() == data) {
            combo->setCurrentIndex(row);
            return true;
        }
    }
    return false;
}

} // namespace RecordEditorTools
