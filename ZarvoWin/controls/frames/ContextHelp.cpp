#include "ContextHelp.h"

#include "Texts.h"

#include <QApplication>
#include <QBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QPointer>
#include <QShortcut>
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

// The nearest context from `widget` up to, but not including, its window.
HelpContext *partContext(const QWidget *widget)
{
    for (const QWidget *w = widget; w && !w->isWindow(); w = w->parentWidget()) {
        if (HelpContext *context = contextOf(w))
            return context;
    }
    return nullptr;
}

bool isHelpKey(const QKeyEvent *key)
{
    return key->key() == Qt::Key_F1 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// F1 with the focus inside a part of a window that has a context of its
// own: the part takes the key before the window's shortcuts see it.
class PartKeyFilter : public QObject
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
        const HelpContext *context = partContext(widget);
        if (!context)
            return false;
        if (type == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (ContextHelp::IsAvailable())
            ContextHelp::Open(context->Context());
        return true;
    }
};

void installPartKeyFilter()
{
    static QPointer<PartKeyFilter> filter;
    if (!filter && qApp) {
        filter = new PartKeyFilter(qApp);
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
    if (!widget->isWindow()) {
        installPartKeyFilter();
        return;
    }
    // One F1 key per window: two would make F1 ambiguous, and neither
    // would answer. Like the greyed help button, it does nothing while the
    // help is missing.
    auto *key = new QShortcut(QKeySequence::HelpContents, widget);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, widget, [widget] {
        if (IsAvailable())
            Open(ContextOf(widget));
    });
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
