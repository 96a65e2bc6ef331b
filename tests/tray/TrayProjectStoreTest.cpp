// What the tray keeps of projects, activities, rates and recent
// combinations, when it reads them again, and the favourites' lines in the
// three orders.
#include "TrayFixture.h"

#include "CComboBoxSuper.h"
#include "QuoteSql.h"
#include "CTranslationStore.h"
#include "WidgetIds.h"

#include <QAction>
#include <QMenu>

using Platform::Formatter;

namespace {

class TrayProjectStoreTest : public TrayFixture
{
protected:
    void project(int id, const QString &name, int parent = -1, int deleted = 0, int type = 0, int activity = -1,
                 int rate = -1) const
    {
        exec(Formatter::sprintf(u"insert into Projets (Id,Nom,Parent,Deleted,Type,Activity,IdTauxHoraire,Red,Green,"
                                u"Blue,Date_Modif,Origine_Modif) values (%d,'%s',%d,%d,%d,%d,%d,0,0,0,1000,1)",
                                {id, QuoteSql(name), parent, deleted, type, activity, rate}));
    }
    void activity(int id, const QString &name) const
    {
        exec(Formatter::sprintf(u"insert into Activites (Id,Nom,Deleted,Date_Modif,Origine_Modif) "
                                u"values (%d,'%s',0,1000,1)",
                                {id, QuoteSql(name)}));
    }
    void favourite(int id, int project, int activity, const QString &title, qint64 used) const
    {
        exec(Formatter::sprintf(u"insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Deleted,Title,"
                                u"Date_Modif,Origine_Modif) values (%d,%d,%d,-1,%I64d,0,'%s',1000,1)",
                                {id, project, activity, used, QuoteSql(title)}));
    }
    void loadAll()
    {
        CTrayDatabase db(path);
        db.LoadProjects(store);
        db.LoadActivities(store);
        db.LoadRates(store);
        db.LoadHistory(store);
    }
    // The favourites' lines, one a line: indentation, "[+]" for a header,
    // the text, then project, activity and id.
    QString lines(int order)
    {
        CTrayDatabase db(path);
        std::vector<DataItems> items;
        EXPECT_TRUE(db.FillFavourites(items, order, store, texts));
        QString out;
        for (const DataItems &i : items)
            out += QString(i.Level * 2, u' ') + (i.IsGroup() ? QStringLiteral("[+] ") : QString()) + i.Text
                   + QStringLiteral(" (%1 %2 %3)\n").arg(i.IdProject).arg(i.IdActivite).arg(i.Id);
        return out;
    }

    TrayTexts texts;
};

} // namespace

// A part is read again only when the database changed it after its last
// load (a change in that load's second counts), or when it was cleared or
// its load time forgotten; the recent combinations always.
TEST_F(TrayProjectStoreTest, APartIsReadAgainOnlyAfterAChange)
{
    project(32, QStringLiteral("Client"));
    activity(31, QStringLiteral("Conseil"));
    exec(QStringLiteral("insert into TauxHoraire (Id,Nom,Valeur,Deleted,Date_Modif) values (2,'Normal',0,0,1000)"));
    using Load = bool (CTrayDatabase::*)(CTrayProjectStore &);
    const struct
    {
        const char *part;
        Load load;
        QStringList changes; // each stamps a change of the part now
        QStringList undos;   // each puts an older stamp back, as an undo does
    } cases[] = {
        {"projects", &CTrayDatabase::LoadProjects,
         {QStringLiteral("update Projets set Date_Modif=%1"),
          QStringLiteral("insert into ProjectChilds values (-1, ';32;', %1, 1)")},
         {QStringLiteral("update Projets set Nom='Client', Date_Modif=900"),
          QStringLiteral("update ProjectChilds set Date_Modif=900"),
          QStringLiteral("delete from ProjectChilds")}},
        {"activities", &CTrayDatabase::LoadActivities, {QStringLiteral("update Activites set Date_Modif=%1")},
         {QStringLiteral("update Activites set Nom='Conseil', Date_Modif=900")}},
        {"rates", &CTrayDatabase::LoadRates, {QStringLiteral("update TauxHoraire set Date_Modif=%1")},
         {QStringLiteral("update TauxHoraire set Date_Modif=900")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.part);
        const auto load = [&] {
            CTrayDatabase db(path);
            return (db.*c.load)(store);
        };
        EXPECT_TRUE(load()) << "first load";
        ++now;
        EXPECT_FALSE(load()) << "nothing changed";
        for (const QString &change : c.changes) {
            exec(change.arg(now));
            EXPECT_TRUE(load()) << "a change in the second of the last load";
            ++now;
            EXPECT_TRUE(load()) << "the load of that second could not see it all";
            ++now;
            EXPECT_FALSE(load());
        }
        // The main program's undo writes the former stamps back: older than
        // the last load, and still a change to show.
        for (const QString &undo : c.undos) {
            SCOPED_TRACE(undo.toStdString());
            exec(undo);
            EXPECT_TRUE(load()) << "a stamp put back";
            ++now;
            EXPECT_FALSE(load());
        }
        store.ForgetLoadTimes();
        EXPECT_TRUE(load());
        EXPECT_FALSE(load());
    }
    EXPECT_EQ(store.Store().GetProjectName(32), QStringLiteral("Client"));
    EXPECT_EQ(store.Store().GetActivityName(31), QStringLiteral("Conseil"));
    store.ClearPart(CTrayProjectStore::Activities);
    EXPECT_EQ(store.LoadedAt(CTrayProjectStore::Activities), 0);
    EXPECT_EQ(store.Store().GetActivity(31), nullptr);
    CTrayDatabase db(path);
    EXPECT_TRUE(db.LoadActivities(store));
    EXPECT_TRUE(db.LoadHistory(store));
    EXPECT_TRUE(db.LoadHistory(store)) << "always read";
}

// The tree follows the stored child order, names run from the top with "/",
// and what hangs below a deleted project is not shown.
TEST_F(TrayProjectStoreTest, TheTreeInTheUsersOrderWithFullNames)
{
    project(1, QStringLiteral("Alpha"));
    project(2, QStringLiteral("Beta"));
    project(3, QStringLiteral("Gamma"));
    exec(QStringLiteral("insert into ProjectChilds values (-1, ';3;;A7;;1;', 1000, 1)"));
    project(10, QStringLiteral("Site"), 1);
    project(11, QStringLiteral("Phase & Co"), 10);
    project(20, QStringLiteral("Ancien"), -1, 1);
    project(21, QStringLiteral("Orphelin"), 20);
    loadAll();
    QStringList top;
    for (const CProject *child : store.Store().GetRoot()->Children())
        top << child->Element().Nom;
    EXPECT_EQ(top, QStringList({"Gamma", "Alpha", "Beta"}));
    EXPECT_EQ(store.GetProjectFullName(11), QStringLiteral("Alpha/Site/Phase & Co"));
    EXPECT_EQ(store.GetProjectFullName(1), QStringLiteral("Alpha"));
    EXPECT_EQ(store.GetProjectFullName(21), QString()) << "below a deleted project";
    EXPECT_EQ(store.GetProjectFullName(999), QString());
    EXPECT_EQ(store.GetProjectName(11, texts), QStringLiteral("Phase & Co"));
    EXPECT_EQ(store.GetProjectName(21, texts), QStringLiteral("<Projet non défini>"));
    EXPECT_EQ(store.GetProjectName(-1, texts), QStringLiteral("<Projet non défini>"));
    EXPECT_EQ(store.GetActivityName(999, texts), QStringLiteral("<Activité non définie>"));
}

// The recent combinations: the ten newest distinct ones, each a command of
// the menu named after its project.
TEST_F(TrayProjectStoreTest, RecentCombinationsAndTheirMenu)
{
    project(1, QStringLiteral("R&D"));
    project(2, QStringLiteral("Client"));
    for (int k = 0; k < 12; ++k)
        put(101 + 3 * k, at(8, 0) + 60 * k, at(8, 0) + 60 * k + 30, QString(), 0, k % 2 ? 1 : 2, 40 + k);
    put(200, at(9, 0), at(9, 1), QString(), 0, 999, 40);
    loadAll();
    ASSERT_EQ(store.Store().GetHistoryCount(), 10);
    int p = 0, a = 0, r = 0;
    store.Store().GetHistoryEntry(0, p, a, r);
    EXPECT_EQ(QStringLiteral("%1/%2").arg(p).arg(a), QStringLiteral("999/40"));
    store.Store().GetHistoryEntry(9, p, a, r);
    EXPECT_EQ(QStringLiteral("%1/%2").arg(p).arg(a), QStringLiteral("1/43"));
    QMenu menu;
    store.AppendHistoryMenu(menu, 500);
    QStringList items;
    for (QAction *action : menu.actions())
        items << QStringLiteral("%1 %2").arg(WidgetIds::CommandId(action)).arg(action->text());
    EXPECT_EQ(items.size(), 10);
    EXPECT_EQ(items.mid(0, 3), QStringList({"500 ", "501 R&&D", "502 Client"}));
}

// The project combo: every project depth first, indented, with its type's
// picture, and each item's default activity and rate beside it.
TEST_F(TrayProjectStoreTest, TheProjectComboCarriesEachProjectsDefaults)
{
    project(1, QStringLiteral("Client"), -1, 0, 3, 31, 2);
    project(10, QStringLiteral("Site"), 1, 0, 1, -1, 5);
    project(2, QStringLiteral("Interne"), -1, 0, 0, 34, -1);
    loadAll();
    CComboBoxSuper combo;
    std::vector<int> activities;
    std::vector<int> rates;
    store.FillProjectCombo(combo, {}, activities, rates, 10);
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) {
        const auto info = combo.GetItemInfo(i);
        ASSERT_TRUE(info);
        items << QStringLiteral("%1 %2 depth %3 image %4 activity %5 rate %6")
                     .arg(combo.itemText(i))
                     .arg(info->itemId)
                     .arg(info->depth)
                     .arg(info->image)
                     .arg(activities[size_t(i)])
                     .arg(rates[size_t(i)]);
    }
    EXPECT_EQ(items, QStringList({"Client 1 depth 0 image 1 activity 31 rate 2",
                                  "Site 10 depth 1 image 23 activity -1 rate 5",
                                  "Interne 2 depth 0 image 15 activity 34 rate -1"}));
    EXPECT_EQ(combo.currentIndex(), 1);
}

// The favourites' lines in the three orders.
TEST_F(TrayProjectStoreTest, FavouritesInTheirThreeOrders)
{
    for (int order : {0, 1, 2, 7})
        EXPECT_EQ(lines(order), QString()) << "no favourite, order " << order;

    project(1, QStringLiteral("Client"));
    project(10, QStringLiteral("Site"), 1);
    project(2, QStringLiteral("Vide"));
    project(3, QStringLiteral("Supprimé"), -1, 1);
    activity(31, QStringLiteral("Conseil"));
    activity(34, QStringLiteral("Analyse"));
    favourite(2, 10, 31, QStringLiteral("Visite"), 300);
    favourite(5, 10, 34, QStringLiteral("L'étude 東京"), 100);
    favourite(8, 3, 31, QStringLiteral("Ancien"), 200);
    favourite(11, -1, 999, QString(), 400);
    favourite(14, 1, -1, QStringLiteral("Client seul"), 50);
    exec(QStringLiteral("insert into Favoris (Id,IdProject,IdActivite,Ordre,Deleted,Title) values (17,1,31,900,1,'x')"));
    loadAll();

    // By last use, as stored.
    EXPECT_EQ(lines(0), QStringLiteral(" (-1 999 11)\n"
                                       "Visite (10 31 2)\n"
                                       "Ancien (3 31 8)\n"
                                       "L'étude 東京 (10 34 5)\n"
                                       "Client seul (1 -1 14)\n"));
    EXPECT_EQ(lines(7), lines(0));
    // By project: unknown projects first, then each project whose subtree
    // holds favourites, its own favourites one level deeper.
    EXPECT_EQ(lines(1), QStringLiteral(" (-1 -1 11)\n"
                                       "Ancien (-1 31 8)\n"
                                       "[+] Client (-1 -1 1)\n"
                                       "  Client seul (1 -1 14)\n"
                                       "  [+] Site (-1 -1 10)\n"
                                       "    L'étude 東京 (10 34 5)\n"
                                       "    Visite (10 31 2)\n"));
    // By activity: unnamed activities first, then by name, newest use first
    // within a group.
    EXPECT_EQ(lines(2), QStringLiteral("[+] <Activité non définie> (-1 -1 -1)\n"
                                       "   (-1 999 11)\n"
                                       "  Client seul (1 -1 14)\n"
                                       "[+] Analyse (-1 -1 34)\n"
                                       "  L'étude 東京 (10 34 5)\n"
                                       "[+] Conseil (-1 -1 31)\n"
                                       "  Visite (10 31 2)\n"
                                       "  Ancien (3 31 8)\n"));

    // A start from a favourite puts it first by last use.
    now += 10;
    {
        CTrayDatabase db(path);
        tTacheFull t;
        ASSERT_TRUE(db.GetFavourite(t, 14, false));
        t.Debut = now;
        ASSERT_TRUE(db.StartTask(t, 14));
    }
    EXPECT_TRUE(lines(0).startsWith(QStringLiteral("Client seul (1 -1 14)\n")));
}
