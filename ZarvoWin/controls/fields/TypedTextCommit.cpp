#include "TypedTextCommit.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

// The spin box or date field that `widget` belongs to, popups included (the
// drop-down calendar of a date field is a window of its own but a child of
// the field).
QAbstractSpinBox *OwningField(QObject *object)
{
    for (; object; object = object->parent()) {
        if (auto *field = qobject_cast<QAbstractSpinBox *>(object))
            return field;
    }
    return nullptr;
}

bool IsInside(QObject *object, const QObject *field)
{
    for (; object; object = object->parent()) {
        if (object == field)
            return true;
    }
    return false;
}

} // namespace

TypedTextCommit::TypedTextCommit(QObject *parent)
    : QObject(parent)
{
}

void TypedTextCommit::Install()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || app->findChild<TypedTextCommit *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    app->installEventFilter(new TypedTextCommit(app));
}

void TypedTextCommit::Commit(QAbstractSpinBox *field)
{
    if (!field || field->isReadOnly())
        return;
    // A text that shows the value already gives it again: nothing moves,
    // and the owners of the field find their value as it was.
    field->interpretText();
    emit field->editingFinished();
}

bool TypedTextCommit::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick && type != QEvent::Shortcut)
        return false;
    QAbstractSpinBox *field = OwningField(QApplication::focusWidget());
    if (!field)
        return false;
    // A click inside the field itself (a part chosen, its arrows, its
    // calendar) goes on with the typing.
    if (type != QEvent::Shortcut && IsInside(watched, field))
        return false;
    Commit(field);
    return false;
}
