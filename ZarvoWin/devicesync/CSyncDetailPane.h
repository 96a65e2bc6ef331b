#pragma once
#include <QWidget>

class QGridLayout;
class QGroupBox;
class QLabel;

// What the panes of the device synchronisation share: a group box whose
// caption the owner sets (the device's side or the local one) 3 pixels
// inside the pane, and lines of a label and a field in it, the fields
// ending 8 pixels before its right edge. The labels carry their texts'
// numbers in the pane's dialog, so that a change of language translates
// them again.
class CSyncDetailPane : public QWidget
{
    Q_OBJECT
public:
    static constexpr int FrameMargin = 3;
    static constexpr int FieldRightMargin = 8;

    CSyncDetailPane(int dialogId, QWidget *parent);

    void SetCaption(const QString &caption);
    QString Caption() const;
    int DialogId() const { return m_dialogId; }
    // The labels' texts from the language database.
    void Retranslate();
    // The field of a control id, null when none.
    QWidget *Field(int controlId) const;

protected:
    // A label (texts number `labelId` of the dialog) beside `field` on the
    // next line; the field gets `fieldId`. The label is returned.
    QLabel *AddLine(int labelId, QWidget *field, int fieldId);
    QGridLayout *Grid() const { return m_grid; }
    QGroupBox *Group() const { return m_group; }

private:
    int m_dialogId;
    QGroupBox *m_group;
    QGridLayout *m_grid;
};
