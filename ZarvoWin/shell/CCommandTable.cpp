#include "CCommandTable.h"

#include "Texts.h"

#include <QAction>

namespace {

struct CommandText
{
    int id;
    const char16_t *menuText;
};

// Every command of the main window with its French menu text.
constexpr CommandText Commands[] = {
    {155, u"Calendrier"},
    {156, u"Utilisateurs"},
    {210, u"Windows &2000"},
    {211, u"Office &XP"},
    {212, u"&Windows XP"},
    {213, u"Office 200&3"},
    {214, u"Visual Studio.NET 200&5"},
    {215, u"Style &bleu"},
    {216, u"Style &noir"},
    {217, u"Style a&rgenté"},
    {218, u"Style cya&n"},
    {257, u"Tâches"},
    {258, u"Rapports"},
    {259, u"Projets / Activités"},
    {506, u"Barre d'outils Utilisateurs"},
    {521, u"Suivi de projets"},
    {32784, u"Ajouter un projet"},
    {32785, u"Ajouter une activité"},
    {32787, u"Ajouter un taux horaire"},
    {32789, u"Modifier"},
    {32791, u"Supprimer"},
    {32794, u"Synchroniser un Appareil Mobile"},
    {32796, u"Options"},
    {32800, u"Journée"},
    {32801, u"Semaine"},
    {32802, u"Mois"},
    {32803, u"Paramètres du rapport"},
    {32815, u"Actualiser"},
    {32816, u"Aujourd'hui"},
    {32818, u"Exporter"},
    {32832, u"Enregistrer"},
    {32840, u"Réseau Local"},
    {32849, u"Jour précédent"},
    {32850, u"Jour suivant"},
    {32852, u"Semaine précédente"},
    {32854, u"Mois précédent"},
    {32856, u"Semaine suivante"},
    {32858, u"Mois suivant"},
    {32875, u"Enregistrer sous ..."},
    {32896, u"Sauvegardes"},
    {32900, u"Modifier"},
    {32902, u"Supprimer"},
    {32904, u"Copier"},
    {32910, u"Couper"},
    {32912, u"Coller"},
    {32920, u"Reprendre"},
    {32921, u"Pause"},
    {32933, u"Vérifier la disponibilité de mises à jour"},
    {32938, u"Ajouter une tâche"},
    {32942, u"Annuler"},
    {32943, u"Rétablir"},
    {32956, u"Gérer les utilisateurs"},
    {32959, u"Données de démonstration"},
    {32977, u"Renommer les colonnes"},
    {33041, u"Suivi de projets"},
    {33057, u"Document avec onglet"},
    {33099, u"Flottante"},
    {33100, u"Ancrable"},
    {33101, u"Masquer"},
    {33138, u"Enregistrer la BdD sous ..."},
    {57600, u"&Nouveau rapport"},
    {57607, u"Imprimer"},
    {57664, u"A propos ..."},
    {57665, u"&Quitter"},
    {57670, u"Rubriques d'aide"},
};

} // namespace

CCommandTable::CCommandTable(QObject *parent)
    : QObject(parent)
{
    for (const CommandText &c : Commands) {
        auto *action = new QAction(this);
        action->setObjectName(QString::number(c.id));
        action->setData(c.id);
        action->setEnabled(false);
        m_actions.insert(c.id, action);
        m_order.append(c.id);
        connect(action, &QAction::triggered, this, [this, id = c.id] {
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
    for (const CommandText &c : Commands) {
        if (c.id == id)
            return QString::fromUtf16(c.menuText);
    }
    return QString();
}

QString CCommandTable::MenuText(int id)
{
    return FrenchMenuText(id);
}

QString CCommandTable::Prompt(int id)
{
    const QString text = Platform::Texts::get(id, QString());
    return text.section(u'\n', 0, 0);
}

QString CCommandTable::ToolTip(int id)
{
    const QString text = Platform::Texts::get(id, QString());
    const qsizetype newline = text.indexOf(u'\n');
    if (newline >= 0 && newline + 1 < text.size())
        return text.mid(newline + 1);
    return QString(MenuText(id)).remove(u'&');
}

void CCommandTable::ApplyLanguage()
{
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        it.value()->setText(MenuText(it.key()));
        it.value()->setStatusTip(Prompt(it.key()));
        it.value()->setToolTip(ToolTip(it.key()));
    }
}
