// The built French help pages: every page well formed and readable offline,
// every link and anchor found in the folder, every page reachable from the
// table of contents.
#include "HelpTopics.h"

#include "QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringConverter>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString HelpFolder = QStringLiteral(ZARVO_HELP_DIR_FRA);

struct Page
{
    QString text;
    QSet<QString> ids;
    QStringList links; // href and src values as written
};

QString readUtf8(const QString &path, bool *valid)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *valid = false;
        return QString();
    }
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(file.readAll());
    *valid = !decoder.hasError();
    return text;
}

QHash<QString, Page> readPages()
{
    QHash<QString, Page> pages;
    static const QRegularExpression idPattern(QStringLiteral("\\sid=\"([^\"]+)\""));
    static const QRegularExpression linkPattern(QStringLiteral("\\s(?:href|src)=\"([^\"]*)\""));
    const QStringList names = QDir(HelpFolder).entryList({QStringLiteral("*.html")}, QDir::Files);
    for (const QString &name : names) {
        bool valid = false;
        Page page;
        page.text = readUtf8(HelpFolder + u'/' + name, &valid);
        EXPECT_TRUE(valid) << name.toStdString() << " is not UTF-8";
        for (const auto &m : idPattern.globalMatch(page.text))
            page.ids.insert(m.captured(1));
        for (const auto &m : linkPattern.globalMatch(page.text))
            page.links.append(m.captured(1));
        pages.insert(name, page);
    }
    return pages;
}

// The pages a page links to (in the folder), without their anchors.
QStringList linkedPages(const Page &page)
{
    QStringList linked;
    for (const QString &link : page.links) {
        const QString file = link.section(u'#', 0, 0);
        if (file.endsWith(QStringLiteral(".html")))
            linked.append(QUrl::fromPercentEncoding(file.toUtf8()));
    }
    return linked;
}

} // namespace

TEST(HelpPages, EveryPageIsPlainHtmlReadableOffline)
{
    const QHash<QString, Page> pages = readPages();
    ASSERT_TRUE(pages.contains(QStringLiteral("index.html"))) << HelpFolder.toStdString();
    ASSERT_TRUE(QFileInfo(HelpFolder + QStringLiteral("/style.css")).isFile());
    static const QRegularExpression title(QStringLiteral("<title>[^<]+</title>"));
    static const QRegularExpression heading(QStringLiteral("<h1>[^<]+</h1>"));
    static const QRegularExpression tag(QStringLiteral("<(/?)([a-zA-Z][a-zA-Z0-9]*)[^>]*>"));
    static const QSet<QString> voidTags = {QStringLiteral("meta"), QStringLiteral("link"), QStringLiteral("img"),
                                           QStringLiteral("br"), QStringLiteral("hr")};
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        const std::string name = it.key().toStdString();
        const QString &text = it.value().text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("<!DOCTYPE html>\n<html lang=\"fr\">"))) << name;
        EXPECT_TRUE(text.contains(QStringLiteral("<meta charset=\"utf-8\">"))) << name;
        EXPECT_TRUE(text.contains(QStringLiteral("<link rel=\"stylesheet\" href=\"style.css\">"))) << name;
        EXPECT_TRUE(title.match(text).hasMatch()) << name;
        EXPECT_TRUE(heading.match(text).hasMatch()) << name;
        // Nothing runs and nothing is fetched: the pages work offline and
        // without JavaScript.
        EXPECT_FALSE(text.contains(QStringLiteral("<script"), Qt::CaseInsensitive)) << name;
        for (const QString &link : it.value().links) {
            EXPECT_FALSE(link.contains(QStringLiteral("://")) || link.startsWith(QStringLiteral("//")))
                << name << ": " << link.toStdString();
        }
        // Every element is closed, in order: a slip in a tag would show
        // the rest of the page wrong.
        QStringList open;
        for (const auto &m : tag.globalMatch(text)) {
            const QString element = m.captured(2).toLower();
            if (voidTags.contains(element))
                continue;
            if (m.captured(1).isEmpty()) {
                open.append(element);
            } else if (open.isEmpty() || open.last() != element) {
                ADD_FAILURE() << name << ": </" << element.toStdString() << "> closes "
                              << (open.isEmpty() ? std::string("nothing") : open.last().toStdString())
                              << " at offset " << m.capturedStart();
                break;
            } else {
                open.removeLast();
            }
        }
        EXPECT_TRUE(open.isEmpty()) << name << ": left open: " << open.join(u' ').toStdString();
    }
}

TEST(HelpPages, EveryLinkAndAnchorIsFoundInTheFolder)
{
    const QHash<QString, Page> pages = readPages();
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        for (const QString &link : it.value().links) {
            const std::string where = it.key().toStdString() + ": " + link.toStdString();
            EXPECT_FALSE(link.isEmpty()) << where;
            const QString file = QUrl::fromPercentEncoding(link.section(u'#', 0, 0).toUtf8());
            const QString anchor = link.section(u'#', 1);
            const QString target = file.isEmpty() ? it.key() : file;
            EXPECT_FALSE(target.contains(QStringLiteral(".."))) << where;
            EXPECT_TRUE(QFileInfo(HelpFolder + u'/' + target).isFile()) << where;
            if (!anchor.isEmpty() && pages.contains(target)) {
                EXPECT_TRUE(pages.value(target).ids.contains(anchor)) << where;
            }
        }
    }
}

TEST(HelpPages, EveryPageIsReachedFromTheTableOfContents)
{
    const QHash<QString, Page> pages = readPages();
    const QString contents = QStringLiteral("sommaire.html");
    ASSERT_TRUE(pages.contains(contents));
    EXPECT_TRUE(linkedPages(pages.value(QStringLiteral("index.html"))).contains(contents));
    const QStringList listed = linkedPages(pages.value(contents));
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        if (it.key() != contents) {
            EXPECT_TRUE(listed.contains(it.key())) << it.key().toStdString() << " is not in the table of contents";
        }
        // And every page leads back to it.
        EXPECT_TRUE(linkedPages(it.value()).contains(contents)) << it.key().toStdString();
    }
}

TEST(HelpPages, EveryTopicHasItsPage)
{
    for (int topic : HelpTopics::Topics()) {
        const QString page = HelpTopics::PageName(topic);
        EXPECT_TRUE(QFileInfo(HelpFolder + u'/' + page).isFile()) << topic << " " << page.toStdString();
    }
}

// The page each window's help opens (by its dialog id, or the page of a
// frame or wizard shown): the page that describes it, the page of all
// windows for those described there.
TEST(HelpPages, EveryWindowOpensThePageThatDescribesIt)
{
    const struct
    {
        int dialog;
        const char *page;
    } windows[] = {
        {185, "options.html"},       {191, "options-generalites.html"},   {310, "activites.html"},
        {318, "synchronisation.html"}, {330, "utilisateurs.html"},      {333, "rapport-periode.html"},
        {334, "rapport-selection.html"}, {335, "rapport-assistant.html"}, {343, "rapport-presentation.html"},
        {344, "rapport-regroupement.html"}, {367, "fenetres.html"},      {369, "impression.html"},
        {370, "options-affichage.html"}, {384, "favori.html"},            {385, "options-dossiers.html"},
        {386, "options-reseau.html"}, {391, "synchronisation-revue.html"}, {396, "synchronisation.html"},
        {399, "exportation.html"},    {400, "options-rapports.html"},    {401, "options-sauvegardes.html"},
        {406, "tache.html"},          {410, "taches-en-cours.html"},     {417, "insertion.html"},
        {424, "synchronisation-execution.html"}, {425, "premier-demarrage.html"}, {426, "premier-demarrage.html"},
        {427, "premier-demarrage.html"}, {428, "premier-demarrage.html"}, {431, "sauvegardes.html"},
        {435, "assistant-utilisateur.html"}, {436, "assistant-utilisateur.html"}, {437, "assistant-utilisateur.html"},
        {438, "utilisateurs.html"},   {448, "fenetres.html"},            {449, "options-formats.html"},
        {454, "colonnes.html"},       {462, "colonne-detail.html"},      {463, "projet.html"},
        {464, "suivi-colonnes.html"}, {493, "options-divers.html"},      {494, "modifier-taches.html"},
        {496, "choix-projet.html"},   {497, "options-suivi.html"},       {506, "fenetres.html"},
        {507, "options-jours-chomes.html"}, {519, "copie-projet.html"},  {520, "options-grille.html"},
    };
    for (const auto &w : windows) {
        const QString page = HelpTopics::PageName(HelpTopics::TopicForDialog(w.dialog));
        EXPECT_EQ(page, QString::fromLatin1(w.page)) << w.dialog;
        EXPECT_TRUE(QFileInfo(HelpFolder + u'/' + page).isFile()) << w.dialog << " " << page.toStdString();
    }
}

namespace {

// Texts the pages quote from windows whose texts are not in the language
// files yet (they come with those windows); a text the files hold is found
// there whatever this list says.
const char16_t *const TextsOfWindowsToCome[] = {
    u"1 an", u"1 heure", u"1 semaine", u"1/2 heure", u";", u"Activité par défaut :", u"Afficher dans le rapport",
    u"Afficher la barre d'outils", u"Afficher la dernière tâche",
    u"Afficher la fenêtre", u"Afficher le résumé", u"Afficher les favoris", u"Afficher les tâches de la journée",
    u"Afficher seulement la sélection", u"Ajuster la largeur des colonnes", u"Bas :",
    u"BdD de l'appareil mobile :", u"Colonnes par défaut", u"Configuration",
    u"Configuration générale pour tous les rapports", u"Début souhaité :", u"Défaut", u"Dernière", u"Dernière page",
    u"Descendre", u"Durée comptabilisée :", u"Durée effectuée :", u"Durée supplémentaire :",
    u"Durée totale estimée :", u"Démarrer la fenêtre de lancement rapide à l'ouverture de la session.",
    u"Effacer", u"Effectuée / prévue :", u"Effectuée / totale :", u"Exportation", u"Fenêtre principale",
    u"Fin souhaitée :", u"Format :", u"Haut :", u"Largeur de la fenêtre",
    u"Lorsque l'ordinateur sort de veille :",
    u"Masquer automatiquement la fenêtre Infos.", u"Masquer automatiquement la fenêtre.",
    u"Masquer les tâches 'Inactives'", u"Masquer les tâches terminées", u"Mode :", u"Modifier les colonnes",
    u"Modèle :", u"Monter", u"Opaque", u"Ordre par défaut", u"Page précédente", u"Page suivante",
    u"Paysage", u"Plusieurs pages", u"Portrait", u"Première", u"Première page", u"Rapport courant", u"Synchroniser",
    u"Synchroniser avec :", u"Sélectionner les éléments", u"Séparateur :", u"Taille réelle",
    u"Terminer la tâche en cours lorsque l'ordinateur est mis en veille ou arrêté", u"Texte :",
    u"Titre automatique", u"Total estimé des subordonnés :", u"Toutes", u"Transparence de la fenêtre Infos :",
    u"Transparente", u"Une page", u"Veuillez sélectionner au moins une ligne pour le tableau",
};

QString htmlText(QString text)
{
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

// A text as a page may quote it: blanks collapsed, without its trailing
// colon, point or ellipsis.
QString quotable(const QString &text)
{
    QString s = text.simplified();
    while (!s.isEmpty() && (s.endsWith(u' ') || s.endsWith(u':') || s.endsWith(u'.') || s.endsWith(QChar(0x2026))))
        s.chop(1);
    return s;
}

// Every text of both programs as the pages may quote it: whole and line by
// line, each part of a "label|format" text, mnemonics dropped and inserts
// written as an ellipsis (what the program shows there varies).
QSet<QString> programTexts()
{
    static const QRegularExpression row(QStringLiteral("^(?:\\d+|-?\\d+ -?\\d+) = (.*)$"));
    static const QRegularExpression insert(QStringLiteral("%(\\d+!\\w+!|\\d+|I64d|0\\.2f|02d|s|d)"));
    QSet<QString> texts;
    for (const char *name : {"ZarvoFra.txt", "ZarvoTrayFra.txt"}) {
        QFile file(QStringLiteral(ZARVO_RES_DIR "/Fra/") + QLatin1String(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << name;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        for (const QString &line : lines) {
            const QRegularExpressionMatch m = row.match(line);
            if (!m.hasMatch())
                continue;
            QString text = m.captured(1);
            if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
                text = text.mid(1, text.size() - 2);
            text.remove(u'&');
            text.replace(QStringLiteral("%%"), QStringLiteral("\x01"));
            text.replace(insert, QString(QChar(0x2026)));
            text.replace(u'\x01', u'%');
            QStringList parts = text.split(QStringLiteral("\\n"));
            parts << text.split(u'|') << QString(text).replace(QStringLiteral("\\n"), QStringLiteral(" "));
            for (const QString &part : std::as_const(parts))
                texts.insert(quotable(part));
        }
    }
    for (const char16_t *text : TextsOfWindowsToCome)
        texts.insert(quotable(QString::fromUtf16(text)));
    return texts;
}

} // namespace

// What the pages show in the interface's words is what the programs show:
// a text changed in a window must be changed in its page too.
TEST(HelpPages, QuotedInterfaceTextsAreThoseOfThePrograms)
{
    const QSet<QString> texts = programTexts();
    static const QRegularExpression quoted(QStringLiteral("<span class=\"ui\">([^<]*)</span>"));
    const QHash<QString, Page> pages = readPages();
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        for (const auto &m : quoted.globalMatch(it.value().text)) {
            const QString text = quotable(htmlText(m.captured(1)));
            EXPECT_TRUE(texts.contains(text)) << it.key().toStdString() << " quotes \"" << text.toStdString()
                                              << "\", which neither program shows";
        }
    }
}
