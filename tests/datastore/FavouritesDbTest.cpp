#include "Formatter.h"
#include "LookupRecordName.h"
#include "RecordingFillers.h"
#include "TestDatabase.h"
#include "UiUtilities.h"

#include <QStringList>

#include <sqlite3.h>

using Platform::Formatter;

namespace {

constexpr qint64 T0 = 1'700'000'000;

class FavouritesDbTest : public TestDatabase
{
protected:
    void SetUp() override
    {
        now = T0;
        Platform::Clock::setNowSource([this] { return now; });
        TestDatabase::SetUp();
    }

    int addFavorite(int project, int activity, int rate, const QString &title)
    {
        int id = -1;
        CBdD db;
        EXPECT_EQ(db.AddFavorite(-1, project, activity, rate, title, &id), CBdD::FavoriteDone);
        ++now;
        return id;
    }
    QString fill(int order, bool force = true)
    {
        RecordingTree tree;
        qint64 stamp = 0;
        CBdD db;
        db.LoadFavorites(tree, nullptr, force, order, stamp);
        return dump(tree);
    }

    qint64 now = T0;
};

} // namespace

TEST_F(FavouritesDbTest, AddingFollowsTheDuplicateRules)
{
    const int live = addFavorite(40, 50, 2, QStringLiteral("Réunion"));
    const int gone = addFavorite(40, 51, 2, QStringLiteral("Lecture"));
    {
        CBdD db;
        ASSERT_TRUE(db.DeleteFavorite(gone));
    }
    // A deleted twin stored before a live one: the live one still counts.
    exec(QStringLiteral("insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Deleted,Title) values (1,41,50,-1,5,1,'')"));
    exec(QStringLiteral("insert into Favoris (Id,IdProject,IdActivite,IdTauxHoraire,Ordre,Deleted,Title) values (900,41,50,-1,5,0,'')"));

    const struct
    {
        const char *what;
        int project, activity, rate;
        QString title;
        int result;
        int liveRowsAdded;
    } cases[] = {
        {"identical to a live one", 40, 50, 2, QStringLiteral("Réunion"), CBdD::FavoriteExists, 0},
        {"identical to a deleted one", 40, 51, 2, QStringLiteral("Lecture"), CBdD::FavoriteDone, 1},
        {"deleted twin listed before a live one", 41, 50, -1, QString(), CBdD::FavoriteExists, 0},
        {"another rate", 40, 50, 3, QStringLiteral("Réunion"), CBdD::FavoriteDone, 1},
        {"another title", 40, 50, 2, QStringLiteral("Réunion bis"), CBdD::FavoriteDone, 1},
        {"an apostrophe", 40, 50, 2, QStringLiteral("L'équipe"), CBdD::FavoriteDone, 1},
        {"the apostrophe again", 40, 50, 2, QStringLiteral("L'équipe"), CBdD::FavoriteExists, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const int before = cell(QStringLiteral("select count(*) from Favoris where Deleted=0")).toInt();
        int id = 7;
        CBdD db;
        EXPECT_EQ(db.AddFavorite(-1, c.project, c.activity, c.rate, c.title, &id), c.result);
        EXPECT_EQ(cell(QStringLiteral("select count(*) from Favoris where Deleted=0")).toInt(),
                  before + c.liveRowsAdded);
        EXPECT_EQ(id == -1, c.result != CBdD::FavoriteDone);
        if (id != -1) {
            EXPECT_NE(id, live);
            EXPECT_NE(id, gone);
            EXPECT_EQ(cell(Formatter::sprintf(u"select Title||'|'||Ordre||'|'||Origine_Modif from Favoris where Id=%d", {id})),
                      Formatter::sprintf(u"%s|%I64d|1", {c.title, now}));
        }
    }
    // The deleted rows stay deleted.
    EXPECT_EQ(cell(QStringLiteral("select Deleted from Favoris where Id=%1").arg(gone)), u"1");
    EXPECT_EQ(cell(QStringLiteral("select Deleted from Favoris where Id=1")), u"1");
}

TEST_F(FavouritesDbTest, RewritingAFavouriteRevivesItAndUndoPutsItBack)
{
    const int id = addFavorite(40, 50, 2, QStringLiteral("Avant"));
    {
        CBdD db;
        ASSERT_TRUE(db.DeleteFavorite(id));
        EXPECT_EQ(db.AddFavorite(id, 41, 51, -1, QStringLiteral("Après"), nullptr), CBdD::FavoriteDone);
    }
    EXPECT_EQ(cell(QStringLiteral("select IdProject||','||IdActivite||','||IdTauxHoraire||','||Deleted||','||Title from Favoris where Id=%1").arg(id)),
              u"41,51,-1,0,Après");
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(QStringLiteral("select IdProject||','||Deleted||','||Title from Favoris where Id=%1").arg(id)),
              u"40,1,Avant");
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(QStringLiteral("select Deleted from Favoris where Id=%1").arg(id)), u"0");
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Favoris")), u"0");
}

// Rewriting or deleting a favourite that has no row changes nothing: a
// failure, with no undo group and no stamp.
TEST_F(FavouritesDbTest, RewritingOrDeletingAFavouriteWithoutARowFails)
{
    const int kept = addFavorite(-1, -1, -1, QStringLiteral("Gardé"));
    const QString stamps = cell(QStringLiteral("select Value from Infos where Name='Modif'"));
    const size_t steps = history.Steps().size();
    CBdD db;
    int newId = 0;
    EXPECT_EQ(db.AddFavorite(99999, -1, -1, -1, QStringLiteral("Fantôme"), &newId), CBdD::FavoriteFailed);
    EXPECT_EQ(newId, -1);
    EXPECT_FALSE(db.DeleteFavorite(99999));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Favoris")), u"1");
    EXPECT_EQ(cell(QStringLiteral("select Value from Infos where Name='Modif'")), stamps);
    EXPECT_EQ(history.Steps().size(), steps);
    // A deleted favourite is still a row: rewritten, it comes back.
    ASSERT_TRUE(db.DeleteFavorite(kept));
    EXPECT_EQ(db.AddFavorite(kept, -1, -1, -1, QStringLiteral("Gardé")), CBdD::FavoriteDone);
    EXPECT_EQ(cell(QStringLiteral("select Deleted from Favoris where Id=%1").arg(kept)), u"0");
}

TEST_F(FavouritesDbTest, AddingRunsTheAutomaticBackupOnlyWhenSomethingWasWritten)
{
    int backups = 0;
    CAppData::SetAutoBackupHook([&] { ++backups; });
    addFavorite(40, 50, 2, QString());
    EXPECT_EQ(backups, 1);
    CBdD db;
    EXPECT_EQ(db.AddFavorite(-1, 40, 50, 2, QString()), CBdD::FavoriteExists);
    EXPECT_EQ(backups, 1);
    CBdD none{QString()};
    EXPECT_EQ(none.AddFavorite(-1, 1, 2, 3, QString()), CBdD::FavoriteFailed);
    EXPECT_EQ(backups, 1);
}

TEST_F(FavouritesDbTest, TouchingMovesAFavouriteFirstAndIsUndoneWithTheWriteBefore)
{
    int refreshes = 0;
    CAppData::SetTaskPaneRefreshHook([&] { ++refreshes; });
    const int a = addFavorite(-1, -1, -1, QStringLiteral("A"));
    const int b = addFavorite(-1, -1, -1, QStringLiteral("B"));
    EXPECT_EQ(fill(CBdD::FavoritesByUse), "B [img 20, data " + QString::number(b) + "]\nA [img 20, data " + QString::number(a) + "]\n");
    const QString stampsBefore = cell(QStringLiteral("select Date_Modif from Favoris where Id=%1").arg(a))
                                 + cell(QStringLiteral("select Value from Infos where Name='Modif'"));

    now += 10;
    {
        CBdD db;
        ASSERT_TRUE(db.TouchFavorite(a));
        ++now;
        ASSERT_TRUE(db.TouchFavorite(a));
    }
    EXPECT_EQ(refreshes, 2);
    EXPECT_TRUE(fill(CBdD::FavoritesByUse).startsWith(u"A "));
    EXPECT_EQ(cell(QStringLiteral("select Ordre from Favoris where Id=%1").arg(a)), QString::number(now));
    // No stamp, no 'Modif'.
    EXPECT_EQ(cell(QStringLiteral("select Date_Modif from Favoris where Id=%1").arg(a))
                  + cell(QStringLiteral("select Value from Infos where Name='Modif'")),
              stampsBefore);

    // The touches joined the group of the write before them (adding B).
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(QStringLiteral("select Ordre from Favoris where Id=%1").arg(a)), QString::number(T0));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Favoris")), u"1");

    CBdD db;
    EXPECT_TRUE(db.TouchFavorite(12345)); // nothing to touch is no failure
    CBdD none{QString()};
    EXPECT_FALSE(none.TouchFavorite(a));
}

// The order a favourite had is written back as it was stored, whatever it
// holds (a copy from a device may hold text): quoted, never as SQL.
TEST_F(FavouritesDbTest, TouchUndoWritesTheFormerOrderBackAsAValue)
{
    const int a = addFavorite(-1, -1, -1, QStringLiteral("A"));
    const QString order = QStringLiteral("select quote(Ordre) from Favoris where Id=%1").arg(a);
    int n = 0;
    for (const char *stored : {"1700000000", "NULL", "'1; update Favoris set Title=''x'''", "''", "'hier'"}) {
        SCOPED_TRACE(stored);
        exec(QStringLiteral("update Favoris set Ordre=%1 where Id=%2").arg(QString::fromUtf8(stored)).arg(a));
        const QString before = cell(order);
        addFavorite(-1, -1, -1, QStringLiteral("B%1").arg(++n)); // the write the touch joins
        {
            CBdD db;
            ASSERT_TRUE(db.TouchFavorite(a));
        }
        ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
        EXPECT_EQ(cell(order), before);
        EXPECT_EQ(cell(QStringLiteral("select Title from Favoris where Id=%1").arg(a)), QStringLiteral("A"));
    }
}

TEST_F(FavouritesDbTest, ReadingAndDescribingOneFavourite)
{
    const int project = saveProject(QStringLiteral("Client"));
    const int activity = saveActivity(QStringLiteral("Conseil"));
    const int rate = saveRate(QStringLiteral("Normal"));
    const int full = addFavorite(project, activity, rate, QStringLiteral("Tout"));
    const int bare = addFavorite(-1, -1, -1, QString());
    const int unknown = addFavorite(999, 998, 997, QStringLiteral("Perdu"));
    const int gone = addFavorite(project, -1, -1, QStringLiteral("Ancien"));
    exec(QStringLiteral("update Favoris set Deleted=1 where Id=%1").arg(gone));
    exec(QStringLiteral("insert into Favoris (Id,Deleted) values (500,0)"));

    const struct
    {
        int id;
        bool found;
        QString got;       // project,activity,rate,title
        QString described; // names and title
    } cases[] = {
        {full, true, Formatter::sprintf(u"%d,%d,%d,Tout", {project, activity, rate}), QStringLiteral("Client|Conseil|Normal|Tout")},
        {bare, true, QStringLiteral("-1,-1,-1,"), QStringLiteral("|||")},
        {unknown, true, QStringLiteral("999,998,997,Perdu"), QStringLiteral("|||Perdu")},
        {500, true, QStringLiteral("0,0,0,"), QStringLiteral("|||")},
        {gone, false, QStringLiteral("-1,-1,-1,"), QStringLiteral("|||")},
        {4242, false, QStringLiteral("-1,-1,-1,"), QStringLiteral("|||")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        CBdD db;
        int p = 5, a = 5, r = 5;
        QString title = QStringLiteral("x");
        EXPECT_EQ(db.GetFavorite(c.id, p, a, r, title), c.found);
        EXPECT_EQ(Formatter::sprintf(u"%d,%d,%d,%s", {p, a, r, title}), c.got);
        QString pn = QStringLiteral("x"), an = QStringLiteral("x"), rn = QStringLiteral("x");
        title = QStringLiteral("x");
        EXPECT_EQ(db.DescribeFavorite(c.id, pn, an, rn, title), c.found);
        EXPECT_EQ(QStringList({pn, an, rn, title}).join(u'|'), c.described);
    }
    // Deleted favourites are read when asked for; one with no row never is.
    CBdD db;
    int p = 5, a = 5, r = 5;
    QString title;
    EXPECT_TRUE(db.GetFavorite(gone, p, a, r, title, true));
    EXPECT_EQ(Formatter::sprintf(u"%d,%d,%d,%s", {p, a, r, title}),
              Formatter::sprintf(u"%d,-1,-1,Ancien", {project}));
    EXPECT_FALSE(db.GetFavorite(4242, p, a, r, title, true));
}

// A start from a favourite stores the entry and marks the favourite used in
// one write: one commit, one undo group; a favourite without a row starts
// nothing.
TEST_F(FavouritesDbTest, AStartFromAFavouriteIsOneWrite)
{
    int refreshes = 0;
    CAppData::SetTaskPaneRefreshHook([&] { ++refreshes; });
    const int a = addFavorite(-1, -1, -1, QStringLiteral("A"));
    addFavorite(-1, -1, -1, QStringLiteral("B"));
    history.Reset();
    now += 100;
    tTacheFull entry;
    entry.Debut = now;
    entry.Title = QStringLiteral("A");
    const QString dump = QStringLiteral("select group_concat(Id||'/'||Ordre) from Favoris");
    const QString before = cell(dump);
    {
        CBdD db;
        int commits = 0;
        sqlite3_commit_hook(db.Connection()->Handle(), [](void *n) { return ++*static_cast<int *>(n), 0; }, &commits);
        ASSERT_TRUE(db.SaveTimeEntry(entry, a));
        sqlite3_commit_hook(db.Connection()->Handle(), nullptr, nullptr);
        EXPECT_EQ(commits, 1);
    }
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(cell(QStringLiteral("select Ordre from Favoris where Id=%1").arg(a)), QString::number(now));
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches where Fin=0")), u"1");
    ASSERT_EQ(history.Undo(), CAnnulation::Outcome::Done);
    EXPECT_EQ(cell(dump), before);
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), u"0");
    EXPECT_FALSE(history.CanUndo());

    history.Reset();
    {
        CBdD db;
        EXPECT_FALSE(db.SaveTimeEntry(entry, 4242));
    }
    EXPECT_EQ(cell(QStringLiteral("select count(*) from Taches")), u"0");
    EXPECT_EQ(cell(dump), before);
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(refreshes, 1);
}

TEST_F(FavouritesDbTest, RecordNamesByKind)
{
    const int project = saveProject(QStringLiteral("Client"));
    const int activity = saveActivity(QStringLiteral("L'analyse"));
    const int rate = saveRate(QStringLiteral("Normal"));
    exec(QStringLiteral("update Projets set Deleted=1 where Id=%1").arg(project));
    CBdD db;
    const struct
    {
        int id, kind;
        QString name;
    } cases[] = {
        {project, RecordProject, QStringLiteral("Client")}, // deleted rows keep their names
        {activity, RecordActivity, QStringLiteral("L'analyse")},
        {rate, RecordRate, QStringLiteral("Normal")},
        {9999, RecordProject, QString()},
        {project, 4, QString()},
        {-1, RecordProject, QString()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.kind);
        EXPECT_EQ(LookupRecordName(c.id, c.kind, db.Connection()), c.name);
    }
    EXPECT_EQ(LookupRecordName(project, RecordProject, nullptr), QString());
    SQLite::CmyDataBase closed;
    EXPECT_EQ(LookupRecordName(project, RecordProject, &closed), QString());
}

TEST_F(FavouritesDbTest, BranchIsRefilledOnlyAfterAChangeUnlessForced)
{
    RecordingTree tree;
    CTreeFiller::Item branch = tree.InsertItem(nullptr, QStringLiteral("Favoris"), 0, 0, 0);
    tree.InsertItem(branch, QStringLiteral("old child"), 0, 0, 0);
    qint64 stamp = 0;
    auto load = [&](bool force) {
        CBdD db;
        return db.LoadFavorites(tree, branch, force, CBdD::FavoritesByUse, stamp);
    };
    // An empty table: refilled on every call.
    EXPECT_TRUE(load(false));
    EXPECT_EQ(dump(tree), u"Favoris [img 0, data 0]\n");
    EXPECT_TRUE(load(false));

    const int id = addFavorite(-1, -1, -1, QStringLiteral("Un"));
    EXPECT_TRUE(load(false));
    EXPECT_EQ(stamp, T0);
    tree.SetItemText(tree.GetChildItem(branch), QStringLiteral("marked"));
    EXPECT_FALSE(load(false));
    EXPECT_EQ(tree.R(tree.GetChildItem(branch))->text, u"marked");
    EXPECT_TRUE(load(true));
    EXPECT_EQ(tree.R(tree.GetChildItem(branch))->text, u"Un");

    // A deletion stamps the row: the branch follows.
    {
        CBdD db;
        ASSERT_TRUE(db.DeleteFavorite(id));
    }
    EXPECT_TRUE(load(false));
    EXPECT_EQ(dump(tree), u"Favoris [img 0, data 0]\n");

    // Without a database the branch counts as refilled and stays as it is.
    CAppData::SetCurrentDatabasePath(QString());
    EXPECT_TRUE(load(false));
}

TEST_F(FavouritesDbTest, MostRecentlyUsedOrder)
{
    const int parent = saveProject(QStringLiteral("Client"));
    const int child = saveProject(QStringLiteral("Site"), parent);
    const int activity = saveActivity(QStringLiteral("Conseil"));
    reload();
    store.Context().separator = QStringLiteral(" / ");
    const int a = addFavorite(-1, 777, -1, QString());
    const int b = addFavorite(child, activity, -1, QString());
    const int c = addFavorite(888, -1, -1, QString());
    const int d = addFavorite(child, -1, -1, QStringLiteral("Titre"));
    // Same use time: the larger id first.
    exec(QStringLiteral("update Favoris set Ordre=%1 where Id in (%2,%3)").arg(T0).arg(c).arg(d));
    EXPECT_EQ(fill(CBdD::FavoritesByUse),
              QStringLiteral("Client / Site - Conseil [img 20, data %1]\n"
                             "Titre [img 20, data %2]\n"
                             " - <Activité non définie> [img 20, data %3]\n"
                             "<Projet non défini> - <Activité non définie> [img 20, data %4]\n")
                  .arg(b).arg(d).arg(c).arg(a));
    // Any order other than 1 and 2 is this one.
    EXPECT_EQ(fill(7), fill(CBdD::FavoritesByUse));
}

TEST_F(FavouritesDbTest, GroupedByActivity)
{
    const int project = saveProject(QStringLiteral("Client"));
    const int conseil = saveActivity(QStringLiteral("Conseil"));
    const int analyse = saveActivity(QStringLiteral("Analyse"));
    reload();
    const int f1 = addFavorite(project, conseil, -1, QStringLiteral("Un"));
    const int f2 = addFavorite(project, analyse, -1, QString());
    const int f3 = addFavorite(project, 999, -1, QStringLiteral("Inconnue"));
    const int f4 = addFavorite(project, conseil, -1, QStringLiteral("Deux"));
    const int f5 = addFavorite(-1, -1, -1, QStringLiteral("Rien"));
    EXPECT_EQ(fill(CBdD::FavoritesByActivity),
              QStringLiteral("<Activité non définie> [img 16, data -1, closed]\n"
                             "  Rien [img 20, data %5]\n"
                             "  Inconnue [img 20, data %3]\n"
                             "Analyse [img 16, data %6, closed]\n"
                             "  Client [img 20, data %2]\n"
                             "Conseil [img 16, data %7, closed]\n"
                             "  Deux [img 20, data %4]\n"
                             "  Un [img 20, data %1]\n")
                  .arg(f1).arg(f2).arg(f3).arg(f4).arg(f5).arg(analyse).arg(conseil));
}

TEST_F(FavouritesDbTest, ProjectTreeOrderKeepsOnlyBranchesLeadingToFavourites)
{
    const int client = saveProject(QStringLiteral("Client"), -1, 2);
    const int site = saveProject(QStringLiteral("Site"), client);
    const int empty = saveProject(QStringLiteral("Vide"), client);
    saveProject(QStringLiteral("Sous-vide"), empty);
    const int other = saveProject(QStringLiteral("Autre"));
    const int conseil = saveActivity(QStringLiteral("Conseil"));
    reload();
    const int onSite = addFavorite(site, conseil, -1, QString());
    const int onSiteTitled = addFavorite(site, 999, -1, QStringLiteral("Visite"));
    const int unknownProject = addFavorite(4242, conseil, -1, QStringLiteral("Perdu"));
    const int noProject = addFavorite(-1, -1, -1, QString());
    const int gone = addFavorite(other, conseil, -1, QStringLiteral("Supprimé"));
    exec(QStringLiteral("update Favoris set Deleted=1 where Id=%1").arg(gone));

    const int clientImage = GetProjectStateImage(2);
    const int siteImage = GetProjectStateImage(0);
    EXPECT_EQ(fill(CBdD::FavoritesByProject),
              QStringLiteral(" [img 20, data %1]\n"
                             "Perdu [img 20, data %2]\n"
                             "Client [img %3, data %4, open]\n"
                             "  Site [img %5, data %6, open]\n"
                             "    Visite [img 20, data %7]\n"
                             "    Conseil [img 20, data %8]\n")
                  .arg(noProject).arg(unknownProject).arg(clientImage).arg(client).arg(siteImage).arg(site)
                  .arg(onSiteTitled).arg(onSite));
}

TEST_F(FavouritesDbTest, RecentCombinationsKeepTenDistinctNewestFirst)
{
    int id = 100;
    auto entry = [&](int project, int activity, int rate, qint64 start, int deleted = 0) {
        exec(Formatter::sprintf(
            u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,IdTauxHoraire,Deleted) values (%d,%I64d,%I64d,%d,%d,%d,%d)",
            {id++, start, start + 60, project, activity, rate, deleted}));
    };
    entry(1, 2, 3, 1000);
    entry(1, 2, 4, 2000); // same project and activity, another rate
    entry(1, 2, 3, 3000);
    entry(5, 6, 7, 9000, 1); // deleted entries do not count
    exec(QStringLiteral("insert into Taches (Id,Debut,Fin,Deleted) values (99,500,600,0)"));
    store.AppendHistory(9, 9, 9);
    {
        CBdD db;
        db.LoadHistory();
    }
    auto listed = [&] {
        QStringList out;
        for (int i = 0; i < store.GetHistoryCount(); ++i) {
            int p, a, r;
            store.GetHistoryEntry(i, p, a, r);
            out << QStringLiteral("%1/%2/%3").arg(p).arg(a).arg(r);
        }
        return out.join(u' ');
    };
    EXPECT_EQ(listed(), u"1/2/3 1/2/4 0/0/0");
    // The store's history tree reads the same list when asked to reload.
    store.ClearPart(3);
    RecordingTree tree;
    store.FillHistoryTree(tree, nullptr, true);
    EXPECT_EQ(tree.top.children.size(), 3u);
    EXPECT_EQ(listed(), u"1/2/3 1/2/4 0/0/0");

    for (int k = 0; k < 12; ++k)
        entry(20 + k, 1, -1, 10000 + k);
    {
        CBdD db;
        db.LoadHistory();
    }
    EXPECT_EQ(store.GetHistoryCount(), CBdD::HistorySize);
    EXPECT_TRUE(listed().startsWith(u"31/1/-1 30/1/-1"));
}
