#pragma once
#include <QtGlobal>
#include <functional>

class QBoxLayout;
class QToolButton;
class QWidget;

// F1 in a window, and the help button of a dialog, open the program's help
// on what the window is about. A window gives its help context: the dialog
// context of its dialog id (DialogContext), or a topic number of its own
// (below DialogContextBase). The program registers once how a context is
// opened and whether its help is there; this class knows no program, so the
// windows of every library share one way to their help.
//
// A context may also be given to a part of a window (a view in a tab of the
// main window): F1 with the keyboard focus inside that part opens its
// context rather than the window's, even where the window already uses F1
// as a shortcut of its own.
//
// Without an opener, or while the help is missing, F1 does nothing and the
// help buttons are greyed.
class ContextHelp
{
public:
    static constexpr quint32 DialogContextBase = 0x20000;
    static constexpr quint32 DialogContext(int dialogId) { return DialogContextBase + quint32(dialogId); }

    using Opener = std::function<void(quint32 context)>;
    using Availability = std::function<bool()>;
    // The program's help; an empty opener removes it. Without an
    // availability test the help counts as there while an opener is set.
    static void SetOpener(Opener opener, Availability available = {});
    static bool IsAvailable();
    // Opens the help on `context` (the opener tells when its pages have
    // gone since); nothing without an opener.
    static void Open(quint32 context);

    // F1 anywhere in `widget` (a window, or a part of one) opens the help
    // on the context `context` gives at that moment (a page or a tab
    // shown, for instance). Installing again replaces the context.
    static void Install(QWidget *widget, std::function<quint32()> context);
    // The same on the widget's own dialog context.
    static void Install(QWidget *widget, int dialogId);
    // The context F1 opens in `widget`: its own, else that of the nearest
    // widget above it that has one; 0 when none was installed.
    static quint32 ContextOf(const QWidget *widget);

    // A help button put at the start of a dialog's row of buttons: it
    // opens what F1 opens in `window` (Install first); greyed when the
    // help is missing.
    static QToolButton *AddButton(QBoxLayout *row, QWidget *window);
};
