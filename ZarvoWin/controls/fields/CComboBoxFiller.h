#pragma once
#include "CComboFiller.h"

#include <QIcon>
#include <Qt>
#include <functional>

class QComboBox;

// Fills a QComboBox: the item data, the image index and the indent are kept
// on each item under the roles below (an owner-drawn combo box paints the
// indent from its role); the icon comes from the image provider when given.
class CComboBoxFiller : public CComboFiller
{
public:
    static constexpr int DataRole = Qt::UserRole;
    static constexpr int ImageRole = Qt::UserRole + 1;
    static constexpr int IndentRole = Qt::UserRole + 2;

    using ImageProvider = std::function<QIcon(int image)>;

    explicit CComboBoxFiller(QComboBox *combo, ImageProvider images = {});

    int AddItem(const QString &text, int image, qintptr data, int indent) override;
    void SetCurSel(int index) override;
    int GetCount() const override;

private:
    QComboBox *m_combo;
    ImageProvider m_images;
};
