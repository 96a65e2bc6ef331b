#include "ContextHelp.h"

#include "Texts.h"

#include <QBoxLayout>
#include <QIcon>
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

// The F1 key of one window, with what it opens.
class HelpKey : public QShortcut
{
public:
    HelpKey(QWidget *window, std::function<quint32()> context)
        : QShortcut(QKeySequence::HelpContents, window)
        , m_context(std::move(context))
    {
        setContext(Qt::WindowShortcut);
        // Like the greyed help button, F1 does nothing while the help is
        // missing.
        QObject::connect(this, &QShortcut::activated, this, [this] {
            if (ContextHelp::IsAvailable())
                ContextHelp::Open(Context());
        });
    }

    void SetContext(std::function<quint32()> context) { m_context = std::move(context); }
    quint32 Context() const { return m_context ? m_context() : 0; }

private:
    std::function<quint32()> m_context;
};

HelpKey *keyOf(const QWidget *window)
{
    if (!window)
        return nullptr;
    for (QObject *child : window->children()) {
        if (auto *key = dynamic_cast<HelpKey *>(child))
            return key;
    }
    return nullptr;
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

void ContextHelp::Install(QWidget *window, std::function<quint32()> context)
{
    if (!window)
        return;
    // Installing again replaces what F1 opens: two keys of one window would
    // make F1 ambiguous, and neither would answer.
    if (HelpKey *key = keyOf(window))
        key->SetContext(std::move(context));
    else
        new HelpKey(window, std::move(context));
}

void ContextHelp::Install(QWidget *window, int dialogId)
{
    Install(window, [dialogId] { return DialogContext(dialogId); });
}

quint32 ContextHelp::ContextOf(const QWidget *window)
{
    for (const QWidget *w = window; w; w = w->parentWidget()) {
        if (const HelpKey *key = keyOf(w))
            return key->Context();
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
