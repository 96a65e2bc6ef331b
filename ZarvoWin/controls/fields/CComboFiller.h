#pragma once
#include <QString>
#include <QtGlobal>

// What the data store needs of a combo box to fill it: items with a text,
// an image index, a number as item data and an indent, and the selection.
// CComboBoxFiller shows the same thing in a QComboBox.
class CComboFiller
{
public:
    virtual ~CComboFiller() = default;

    // Appends an item; returns its index.
    virtual int AddItem(const QString &text, int image, qintptr data, int indent) = 0;
    virtual void SetCurSel(int index) = 0;
    virtual int GetCount() const = 0;
};
