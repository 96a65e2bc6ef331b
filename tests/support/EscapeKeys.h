#pragma once
// Escape as a user presses it: in each field of a window in turn.
#include <QApplication>
#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTest>
#include <QWidget>

namespace EscapeKeys {

// The fields of `window` a user can put the focus in, in Tab order: shown,
// enabled, taking the focus by Tab, and not inside another window.
inline QList<QWidget *> FocusableFields(QWidget *window)
{
    QList<QWidget *> out;
    for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (window->isAncestorOf(w) && w->window() == window && w->isVisible() && w->isEnabled()
            && (w->focusPolicy() & Qt::TabFocus) && !out.contains(w))
            out << w;
    }
    return out;
}

// What one press of Escape did.
struct Outcome
{
    int fields = 0;      // the fields the window offered
    QString field;       // the one Escape was pressed in
    bool closed = false; // the window is gone or hidden
    int result = -1;     // a dialog's result, as its caller reads it
};

// Shows `window`, puts the focus in its field `index` (the window itself
// for -1) and presses Escape there.
inline Outcome PressIn(QWidget *window, int index)
{
    Outcome outcome;
    window->show();
    QApplication::setActiveWindow(window);
    const QList<QWidget *> all = FocusableFields(window);
    outcome.fields = int(all.size());
    QWidget *target = index >= 0 && index < all.size() ? all[index] : window;
    outcome.field = QString::fromLatin1(target->metaObject()->className()) + u' ' + target->objectName();
    target->setFocus(Qt::TabFocusReason);
    QPointer<QWidget> alive(window);
    QTest::keyClick(target, Qt::Key_Escape);
    QApplication::processEvents();
    outcome.closed = !alive || !alive->isVisible();
    if (auto *dialog = qobject_cast<QDialog *>(alive.data()))
        outcome.result = dialog->result();
    return outcome;
}

} // namespace EscapeKeys
