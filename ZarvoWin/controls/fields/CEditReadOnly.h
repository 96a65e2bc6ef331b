#pragma once
#include <QLineEdit>

// A line edit that keeps a background colour of its own (white by
// default) while it is read-only, enabled or not, instead of the greyed
// look of read-only fields.
class CEditReadOnly : public QLineEdit
{
    Q_OBJECT
public:
    explicit CEditReadOnly(QWidget *parent = nullptr);

    // Background (0x00BBGGRR) while read-only.
    void SetBackgroundColor(quint32 colour);
    quint32 BackgroundColor() const { return m_background; }

    // Gives `edit` the background `colour` when `on`, else the palette it
    // inherits (shared with CMyEdit).
    static void ShowBackground(QLineEdit *edit, bool on, quint32 colour);

protected:
    void changeEvent(QEvent *event) override;

private:
    quint32 m_background = 0xFFFFFF;
};
