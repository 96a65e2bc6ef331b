#pragma once
#include "CComboBoxFiller.h"

#include <QComboBox>
#include <functional>
#include <optional>

// The combo box of the project and activity choosers: each item shows its
// icon, in bold when asked, indented by its depth with grey tree lines in
// the list (ComboTreeLines), its text shortened with "..." at the front so
// the end of a long name stays readable. The closed field can show the
// item's full name (its ancestors' names too) instead of its own text.
//
// Items carry what CComboBoxFiller keeps under its roles (the item id as
// the item data, the image index, the depth as the indent) and a bold
// flag under BoldRole; fill it with CComboBoxFiller (the data store's
// FillProjectCombo does) and read or change an item's record with
// GetItemInfo and SetItemInfo. The icon is the item's decoration; its size,
// the combo's iconSize(), is also the indentation step.
class CComboBoxSuper : public QComboBox
{
    Q_OBJECT
public:
    static constexpr int BoldRole = Qt::UserRole + 3;

    // One item's record.
    struct ComboItemInfo
    {
        int image = -1; // image index, -1 = none
        bool bold = false;
        qlonglong itemId = 0; // the project id
        int depth = 0;
    };

    // The full name of the item whose id is given (empty when unknown).
    using FullNameProvider = std::function<QString(qlonglong itemId)>;

    explicit CComboBoxSuper(QWidget *parent = nullptr);

    // The record of an item (defaults for what was never set); nothing for
    // an index out of range.
    std::optional<ComboItemInfo> GetItemInfo(int index) const;
    void SetItemInfo(int index, const ComboItemInfo &info);

    void SetTreeLines(bool treeLines);
    bool HasTreeLines() const { return m_treeLines; }
    // The closed field shows the full name from the provider, or the
    // item's text when it gives none.
    void SetFullNameProvider(FullNameProvider provider);
    void SetShowFullName(bool fullName);
    bool ShowsFullName() const { return m_fullName; }

    // The text the closed field shows for an item, before shortening.
    QString FieldText(int index) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_treeLines = true;
    bool m_fullName = false;
    FullNameProvider m_fullNames;
};
