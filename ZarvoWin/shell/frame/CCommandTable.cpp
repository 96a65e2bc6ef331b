#include "CCommandTable.h"

#include "BuiltInTexts.h"
#include "CNewToolTipCtrl.h"
#include "CTranslationStore.h"
#include "Texts.h"
#include "WidgetIds.h"

#include <QAction>
#include <QKeySequence>

namespace {

// Every command of the main window; its texts are the rows of menu 128.
constexpr int Commands[] = {
    155, 156, 210, 211, 212, 213, 214, 215, 216, 217, 218, 257, 258, 259, 506, 521, 32784, 32785,
    32787, 32789, 32791, 32794, 32796, 32800, 32801, 32802, 32803, 32815, 32816, 32818, 32832,
    32840, 32849, 32850, 32852, 32854, 32856, 32858, 32875, 32896, 32900, 32902, 32904, 32910,
    32912, 32920, 32921, 32933, 32938, 32942, 32943, 32956, 32959, 32977, 33041, 33057, 33099,
    33100, 33101, 33138, 57600, 57607, 57664, 57665, 57670
};

constexpr int MainMenu = 128;

// The desktop's keys of the commands that have one (the menus show them).
QList<QKeySequence> StandardKeys(int id)
{
    switch (id) {
    case 32942: // Annuler
        return {QKeySequence(QKeySequence::Undo)};
    case 32943: // Rétablir
        return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    case 32815: // Actualiser
        return {QKeySequence(Qt::Key_F5)};
    case 57607: // Imprimer: live once a window that prints gives the command its handler
        return {QKeySequence(Qt::CTRL | Qt::Key_P)};
    case 57665: // Quitter
        return {QKeySequence(Qt::CTRL | Qt::Key_Q)};
    default:
        return {};
    }
}

} // namespace

CCommandTable::CCommandTable(QObject *parent)
    : QObject(parent)
{
    for (const int id : Commands) {
        auto *action = new QAction(this);
        action->setObjectName(QString::number(id));
        action->setData(id);
        action->setEnabled(false);
        WidgetIds::SetCommandId(action, id);
        m_actions.insert(id, action);
        m_order.append(id);
        action->setShortcuts(StandardKeys(id));
        connect(action, &QAction::triggered, this, [this, id] {
            const auto handler = m_handlers.value(id);
            if (handler)
                handler();
        });
    }
    ApplyLanguage();
}

void CCommandTable::SetHandler(int id, std::function<void()> handler)
{
    QAction *action = Action(id);
    if (!action)
        return;
    action->setEnabled(bool(handler));
    if (handler)
        m_handlers.insert(id, std::move(handler));
    else
        m_handlers.remove(id);
}

bool CCommandTable::HasHandler(int id) const
{
    return m_handlers.contains(id);
}

void CCommandTable::SetEnabled(int id, bool enabled)
{
    if (QAction *action = Action(id))
        action->setEnabled(enabled && HasHandler(id));
}

QString CCommandTable::FrenchMenuText(int id)
{
    const char16_t *text = Platform::BuiltInTexts::Menu(Platform::BuiltInTexts::Program::Main, MainMenu, id);
    return text ? QString::fromUtf16(text) : QString();
}

QString CCommandTable::MenuText(int id)
{
    CTranslationStore store;
    return store.GetMenuString(MainMenu, id);
}

QString CCommandTable::Prompt(int id)
{
    const QString text = Platform::Texts::get(id);
    return text.section(u'\n', 0, 0);
}

QString CCommandTable::ToolTip(int id)
{
    const QString text = Platform::Texts::get(id);
    // Only a text with a line break has a label of its own.
    const QString label = text.contains(u'\n') ? CNewToolTipCtrl::Split(text).label : QString();
    return label.isEmpty() ? QString(MenuText(id)).remove(u'&') : label;
}

void CCommandTable::ApplyLanguage()
{
    CTranslationStore store;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        it.value()->setText(store.GetMenuString(MainMenu, it.key()));
        it.value()->setStatusTip(Prompt(it.key()));
        it.value()->setToolTip(ToolTip(it.key()));
    }
}
