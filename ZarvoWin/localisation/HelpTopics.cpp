#include "HelpTopics.h"

#include "ContextHelp.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

namespace {

struct DialogTopic
{
    int dialog;
    int topic;
};

// Dialogs (by dialog id) that have a page of their own: a window, a page of
// the options or of a wizard (a frame opens the page it shows, and its own
// topic when it shows none), or a small dialog whose subject has a page
// (the user chosen for a device opens the synchronisation). The dialogs not
// listed are described on the page of all windows.
constexpr DialogTopic DialogTopics[] = {
    {185, 290}, {191, 300}, {310, 200}, {318, 390}, {330, 440}, {333, 250}, {334, 270}, {335, 240},
    {343, 280}, {344, 260}, {369, 285}, {370, 310}, {384, 190}, {385, 320}, {386, 330}, {391, 400},
    {396, 390}, {399, 500}, {400, 350}, {401, 340}, {406, 170}, {410, 180}, {417, 210}, {424, 410},
    {425, 460}, {426, 460}, {427, 460}, {428, 460}, {431, 490}, {435, 450}, {436, 450}, {437, 450},
    {438, 440}, {449, 315}, {454, 325}, {462, 335}, {463, 345}, {464, 395}, {493, 445}, {494, 505},
    {496, 600}, {497, 435}, {507, 475}, {519, 605}, {520, 615},
};

struct TopicPage
{
    int topic;
    const char *page;
};

// The page of every topic, by increasing topic. The names say what the
// page is about, so that the pages read well in the browser's address bar
// and link to each other by name.
constexpr TopicPage TopicPages[] = {
    {0, "index.html"},
    {10, "fenetres.html"},
    {170, "tache.html"},
    {180, "taches-en-cours.html"},
    {190, "favori.html"},
    {200, "activites.html"},
    {210, "insertion.html"},
    {240, "rapport-assistant.html"},
    {250, "rapport-periode.html"},
    {260, "rapport-regroupement.html"},
    {270, "rapport-selection.html"},
    {280, "rapport-presentation.html"},
    {285, "impression.html"},
    {290, "options.html"},
    {300, "options-generalites.html"},
    {310, "options-affichage.html"},
    {315, "options-formats.html"},
    {320, "options-dossiers.html"},
    {325, "colonnes.html"},
    {330, "options-reseau.html"},
    {335, "colonne-detail.html"},
    {340, "options-sauvegardes.html"},
    {345, "projet.html"},
    {350, "options-rapports.html"},
    {355, "projet-general.html"},
    {365, "projet-planification.html"},
    {375, "projet-predecesseurs.html"},
    {385, "projet-notes.html"},
    {390, "synchronisation.html"},
    {395, "suivi-colonnes.html"},
    {400, "synchronisation-revue.html"},
    {410, "synchronisation-execution.html"},
    {435, "options-suivi.html"},
    {440, "utilisateurs.html"},
    {445, "options-divers.html"},
    {450, "assistant-utilisateur.html"},
    {460, "premier-demarrage.html"},
    {475, "options-jours-chomes.html"},
    {490, "sauvegardes.html"},
    {500, "exportation.html"},
    {505, "modifier-taches.html"},
    {530, "zarvotray.html"},
    {535, "zarvotray-options.html"},
    {540, "zarvotray-tache.html"},
    {545, "zarvotray-utilisateur.html"},
    {600, "choix-projet.html"},
    {605, "copie-projet.html"},
    {615, "options-grille.html"},
};

const TopicPage *findPage(int topic)
{
    const auto it = std::lower_bound(std::begin(TopicPages), std::end(TopicPages), topic,
                                     [](const TopicPage &p, int t) { return p.topic < t; });
    return it != std::end(TopicPages) && it->topic == topic ? it : nullptr;
}

} // namespace

int HelpTopics::TopicForDialog(int dialogId)
{
    for (const DialogTopic &d : DialogTopics) {
        if (d.dialog == dialogId)
            return d.topic;
    }
    return OtherDialogsTopic;
}

int HelpTopics::TopicForContext(quint32 context)
{
    if (context >= ContextHelp::DialogContextBase)
        return TopicForDialog(int(context - ContextHelp::DialogContextBase));
    return int(context);
}

QString HelpTopics::PageName(int topic)
{
    const TopicPage *page = findPage(topic);
    return QString::fromLatin1(page ? page->page : TopicPages[0].page);
}

QList<int> HelpTopics::Topics()
{
    QList<int> topics;
    for (const TopicPage &p : TopicPages)
        topics.append(p.topic);
    return topics;
}

QList<int> HelpTopics::Dialogs()
{
    QList<int> dialogs;
    for (const DialogTopic &d : DialogTopics)
        dialogs.append(d.dialog);
    return dialogs;
}

QString HelpTopics::PagePath(const QString &indexFile, int topic)
{
    if (indexFile.isEmpty())
        return QString();
    const QFileInfo index(indexFile);
    const QString page = index.absoluteDir().filePath(PageName(topic));
    if (QFileInfo(page).isFile())
        return page;
    return index.isFile() ? index.absoluteFilePath() : QString();
}

QUrl HelpTopics::PageUrl(const QString &pagePath)
{
    return pagePath.isEmpty() ? QUrl() : QUrl::fromLocalFile(pagePath);
}
