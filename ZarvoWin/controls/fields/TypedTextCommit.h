#pragma once
#include <QObject>

class QAbstractSpinBox;

// What the user typed into a date field or a spin box is taken into its
// value before any command can read it. Such a field holds a value typed
// but not whole as text until Enter or until the focus leaves it (the date
// fields that tell only whole dates take none of it before); a button that
// takes no focus when clicked (a tool button, a toolbar's button), a menu
// or a shortcut would act on the value from before the typing while the
// field shows the typed one. So every mouse press outside the field that
// holds the focus, and every shortcut, first takes that field's text, as
// the focus leaving it would, and ends the typing (the field's
// editingFinished): a text the field cannot read is put back to its value,
// so the command and the field agree either way.
class TypedTextCommit : public QObject
{
    Q_OBJECT
public:
    // Installs the one filter of the application; the fields that may hold
    // a typed value call it. Harmless when called again.
    static void Install();
    // Takes the typed text of `field` into its value now and tells that
    // the typing ended.
    static void Commit(QAbstractSpinBox *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TypedTextCommit(QObject *parent);
};
