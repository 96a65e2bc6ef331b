#include "ContextHelp.h"

#include "Texts.h"

#include <QApplication>
#include <QBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

namespace {

struct Registration
{
    ContextHelp::Opener open;
    ContextHelp::Availability available;
};

Registration &registration()
{
    static Registration r;
    return r;
}

// What F1 opens in the widget it belongs to (its parent).
class HelpContext : public QObject
{
public:
    HelpContext(QWidget *widget, std::function<quint32()> context)
        : QObject(widget)
        , m_context(std::move(context))
    {
    }
    void SetContext(std::function<quint32()> context) { m_context = std::move(context); }
    quint32 Context() const { return m_context ? m_context() : 0; }

private:
    std::function<quint32()> m_context;
};

HelpContext *contextOf(const QWidget *widget)
{
    for (QObject *child : widget->children()) {
        if (auto *context = dynamic_cast<HelpContext *>(child))
            return context;
    }
    return nullptr;
}

// The nearest context from `widget` up to its window, the window's own
// included: F1 never opens the context of another window (the owner of a
// dialog that has none).
HelpContext *nearestContext(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (HelpContext *context = contextOf(w))
            return context;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

bool isHelpKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_F1 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// F1 with the focus inside a window, or a part of one, that has a context:
// the nearest context takes the key before any shortcut sees it. No
// shortcut is made for a context, so that a view built as a window of its
// own and later put into another (a tab of the main window) never leaves a
// second F1 there: two F1 shortcuts in one window would make F1 ambiguous,
// and neither would answer.
class HelpKeyFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || !isHelpKey(static_cast<QKeyEvent *>(event)))
            return false;
        const HelpContext *context = nearestContext(widget);
        if (!context)
            return false;
        if (type == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        // Like the greyed help button, it does nothing while the help is
        // missing.
        if (ContextHelp::IsAvailable())
            ContextHelp::Open(context->Context());
        return true;
    }
};

void installHelpKeyFilter()
{
    static QPointer<HelpKeyFilter> filter;
    if (!filter && qApp) {
        filter = new HelpKeyFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

} // namespace

void ContextHelp::SetOpener(Opener opener, Availability available)
{
    Registration &r = registration();
    if (!opener)
        available = {};
    r.open = std::move(opener);
    r.available = std::move(available);
}

bool ContextHelp::IsAvailable()
{
    const Registration &r = registration();
    return r.open && (!r.available || r.available());
}

void ContextHelp::Open(quint32 context)
{
    if (registration().open)
        registration().open(context);
}

void ContextHelp::Install(QWidget *widget, std::function<quint32()> context)
{
    if (!widget)
        return;
    if (HelpContext *existing = contextOf(widget)) {
        existing->SetContext(std::move(context));
        return;
    }
    new HelpContext(widget, std::move(context));
    installHelpKeyFilter();
}

void ContextHelp::Install(QWidget *widget, int dialogId)
{
    Install(widget, [dialogId] { return DialogContext(dialogId); });
}

quint32 ContextHelp::ContextOf(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (const HelpContext *context = contextOf(w))
            return context->Context();
    }
    return 0;
}

QToolButton *ContextHelp::AddButton(QBoxLayout *row, QWidget *window)
{
    auto *button = new QToolButton(window);
    button->setObjectName(QStringLiteral("help"));
    button->setIcon(QIcon::fromTheme(QStringLiteral("help-contextual"), QIcon::fromTheme(QStringLiteral("help-contents"))));
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Shown when the desktop has no help picture; read by screen readers.
    button->setText(Platform::Texts::get(20400));
    button->setToolTip(Platform::Texts::get(20401));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setEnabled(IsAvailable());
    QObject::connect(button, &QToolButton::clicked, window, [window] { Open(ContextOf(window)); });
    if (row)
        row->insertWidget(0, button);
    return button;
}
