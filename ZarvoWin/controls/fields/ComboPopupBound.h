#pragma once
#include <QObject>
#include <QString>

class QComboBox;

// Keeps the open list of a combo box no wider than a long line of text
// (never wider than the screen), however long the names it holds: a name of
// hundreds of characters no longer stretches the list across the screen.
// The list cuts such a name with "...", and each cut name, like the closed
// field when it shows one, tells the whole name as its tooltip.
class ComboPopupBound : public QObject
{
    Q_OBJECT
public:
    // Applies to `combo` for as long as it lives.
    static void Apply(QComboBox *combo);
    // The widest the open list of `combo` may be: the combo's own width, or
    // up to about 80 characters, within two thirds of the screen.
    static int MaxListWidth(const QComboBox *combo);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ComboPopupBound(QComboBox *combo);
    void BoundList();
    void TellCutItems();
    void TellCutField();

    QComboBox *m_combo;
    QObject *m_list = nullptr; // the window of the open list
    QString m_fieldTip;        // the closed field's tooltip set here
};
