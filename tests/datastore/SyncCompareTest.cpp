#include "SyncPair.h"

#include "ProgressDlgShared.h"

#include <QFile>
#include <limits>

namespace {

class SyncCompareTest : public SyncPair
{
};

} // namespace

TEST_F(SyncCompareTest, EachSideAbsentLiveOrDeletedAtEachAge)
{
    insertCases();
    SyncReviewList list;
    int count = 7;
    ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);

    int listed = 0;
    for (int kind : CaseKinds) {
        for (int i = 0; i < int(std::size(Cases)); ++i) {
            const Case &c = Cases[i];
            SCOPED_TRACE(testing::Message() << "kind " << kind << ", case " << i);
            // A plan only the device has stays there without a decision.
            const int action = kind == CBdD::TableForecast && c.local == Absent ? -1 : c.action;
            const SyncReviewList::Row *found = nullptr;
            for (const SyncReviewList::Row &row : list) {
                if (!row.isGroup && row.kind == kind
                    && (row.item->localId == 100 + i || row.item->deviceId == 100 + i))
                    found = &row;
            }
            if (action < 0) {
                EXPECT_EQ(found, nullptr);
                continue;
            }
            ++listed;
            ASSERT_NE(found, nullptr);
            const SyncItem &item = *found->item;
            EXPECT_EQ(item.action, action);
            EXPECT_EQ(item.localId, c.local == Absent ? -1 : 100 + i);
            EXPECT_EQ(item.deviceId, c.device == Absent ? -1 : 100 + i);
            EXPECT_EQ(item.localDeleted, c.local == Deleted ? 1 : 0);
            EXPECT_EQ(item.deviceDeleted, c.device == Deleted ? 1 : 0);
            // Each side shows its own name and stamp, or nothing at all.
            EXPECT_EQ(found->local.present, c.local != Absent);
            EXPECT_EQ(found->device.present, c.device != Absent);
            if (c.local != Absent) {
                EXPECT_EQ(found->local.name, QStringLiteral("L%1").arg(i));
                EXPECT_EQ(found->local.modified, formats.FormatDate(c.age == Older ? Before : After, false, true));
            } else {
                EXPECT_TRUE(found->local.name.isNull() && found->local.modified.isNull());
            }
            if (c.device != Absent) {
                EXPECT_EQ(found->device.name, QStringLiteral("D%1").arg(i));
            }
        }
    }
    // The count is added to what the caller had.
    EXPECT_EQ(count, 7 + listed);
}

TEST_F(SyncCompareTest, GroupsInTheirOrderEachClosedByItsLastRow)
{
    // Time entries come last, in the order of their start.
    exec(device, insertRow(CBdD::TableTaches, 9, "late", 50, false));
    exec(device, insertRow(CBdD::TableTaches, 10, "early", 50, false) + QStringLiteral(";update Taches set Debut=1 where Id=10"));
    exec(local, insertRow(CBdD::TableFavoris, 4, "fav", 50, false));
    exec(local, insertRow(CBdD::TableForecast, 3, "plan", 50, false));
    exec(local, insertRow(CBdD::TableTauxHoraire, 2, "rate", 50, false));
    exec(device, insertRow(CBdD::TableActivites, 5, "activity", 50, false));
    exec(local, QStringLiteral("insert into ProjectChilds (IdProject, Childs) values (-1, ';32;')"));
    exec(local, insertRow(CBdD::TableProjets, 32, "a", 50, false));
    exec(local, insertRow(CBdD::TableProjets, 35, "b", 50, false));

    SyncReviewList list;
    int count = 0;
    ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);
    QStringList rows;
    for (const SyncReviewList::Row &row : list)
        rows << QStringLiteral("%1%2/%3").arg(row.isGroup ? "G" : "E").arg(row.kind).arg(row.image);
    EXPECT_EQ(rows, QStringList({"G1/0", "E1/4", "E1/5", "G9/0", "G2/1", "E2/5", "G3/2", "E3/5", "G7/0", "E7/5",
                                 "G5/3", "E5/5", "G4/3", "E4/4", "E4/5"}));
    EXPECT_EQ(list.At(13).device.name, QStringLiteral("early"));
    EXPECT_EQ(count, 9); // the project order's one decision included

    // The project order's group row is its own fixed decision.
    const SyncItem *order = list.Item(3);
    ASSERT_NE(order, nullptr);
    EXPECT_EQ(order->kind, 9);
    EXPECT_EQ(order->deviceId, 0);
    EXPECT_EQ(order->localId, -1);
    EXPECT_EQ(order->action, SyncItem::KeepLocal);
    EXPECT_EQ(list.Item(0), nullptr);
    EXPECT_EQ(SyncReviewList::GroupTextId(9), 633);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(SyncCompareTest, ProjectOrderIsOneDecisionWhateverDiffers)
{
    const struct
    {
        const char *what;
        QStringList local;
        QStringList device;
        bool listed;
    } cases[] = {
        {"the same lists", {"(-1, ';32;;35;')", "(32, ';A31;')"}, {"(32, ';A31;')", "(-1, ';32;;35;')"}, false},
        {"a list only here", {"(-1, ';32;')", "(32, ';A31;')"}, {"(-1, ';32;')"}, true},
        {"a list only on the device", {"(-1, ';32;')"}, {"(-1, ';32;')", "(35, ';38;')"}, true},
        {"one list differs", {"(-1, ';32;;35;')", "(32, ';A31;')"}, {"(-1, ';35;;32;')", "(32, ';A31;')"}, true},
        {"a NULL list against a list", {"(-1, NULL)"}, {"(-1, ';32;')"}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        exec(local, QStringLiteral("delete from ProjectChilds"));
        exec(device, QStringLiteral("delete from ProjectChilds"));
        for (const QString &values : c.local)
            exec(local, "insert into ProjectChilds (IdProject, Childs) values " + values);
        for (const QString &values : c.device)
            exec(device, "insert into ProjectChilds (IdProject, Childs) values " + values);
        SyncReviewList list;
        int count = 0;
        ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);
        EXPECT_EQ(count, c.listed ? 1 : 0);
        EXPECT_EQ(list.Count(), c.listed ? 1 : 0);
    }
}

TEST_F(SyncCompareTest, PlansAreMatchedByTheirNodeNotByRowNumber)
{
    // Row 5 is node 40 here and node 41 on the device: after a
    // synchronisation each side numbered its next plan alike.
    exec(local, QStringLiteral("insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, Deleted) "
                               "values (5, 40, -2, 'here', 100, 0)"));
    exec(device, QStringLiteral("insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, Deleted) "
                                "values (5, 41, -2, 'there', 90, 0)"));
    // Node (42, 31) is row 3 here and row 9 on the device.
    exec(local, QStringLiteral("insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, Deleted) "
                               "values (3, 42, 31, 'mine', 100, 0)"));
    exec(device, QStringLiteral("insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, Deleted) "
                                "values (9, 42, 31, 'theirs', 200, 0)"));
    // Node 43 has three rows on the device: its newest (row 12) counts.
    exec(local, QStringLiteral("insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, Deleted) "
                               "values (20, 43, -2, 'ours', 150, 0)"));
    exec(device, QStringLiteral("insert into Forecast (rowid, IdProject, IdActivity, Title, Date_Modif, Deleted) "
                                "values (11, 43, -2, 'old', 100, 0), (12, 43, -2, 'new', 300, 0), "
                                "(13, 43, -2, 'older', 120, 1)"));
    SyncReviewList list;
    int count = 0;
    ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);
    // Node 41 lives only on the device and stays there: no decision.
    EXPECT_EQ(decisions(list), QStringList({"7:9:3:0", "7:12:20:0", "7:-1:5:2"}));
    EXPECT_EQ(list.At(2).device.name, QStringLiteral("new"));
}

TEST_F(SyncCompareTest, UntitledElementsAreNamedByTheirOwnSide)
{
    // The same ids name other projects and activities on each side.
    for (const QString &path : {local, device}) {
        const QString p = path == local ? "Ici" : "Là";
        exec(path, QStringLiteral("insert into Projets (Id, Nom, Parent, Date_Modif, Deleted) values "
                                  "(32, '%1 haut', -1, 1, 0), (35, '%1 bas', 32, 1, 0)").arg(p));
        exec(path, QStringLiteral("insert into Activites (Id, Nom, Date_Modif, Deleted) values (31, '%1 act', 1, 0)")
                       .arg(p));
    }
    // A NULL title, an empty one, and a plan whose ancestors loop.
    exec(local, QStringLiteral("insert into Taches (Id, Debut, IdProjet, IdActivite, Title, Date_Modif, Deleted) "
                               "values (101, 5, 35, 31, NULL, 20, 0)"));
    exec(device, QStringLiteral("insert into Taches (Id, Debut, IdProjet, IdActivite, Title, Date_Modif, Deleted) "
                                "values (101, 5, 35, 31, '', 10, 0)"));
    exec(device, QStringLiteral("insert into Favoris (Id, IdProject, IdActivite, Title, Date_Modif, Deleted) "
                                "values (7, 32, 99, NULL, 10, 0)"));
    exec(local, QStringLiteral("insert into Forecast (IdProject, IdActivity, Title, Date_Modif, Deleted) "
                               "values (35, 31, NULL, 20, 0)"));
    exec(device, QStringLiteral("insert into Forecast (IdProject, IdActivity, Title, Date_Modif, Deleted) "
                                "values (35, 31, '', 10, 0), (36, -2, '', 30, 0)"));
    exec(local, QStringLiteral("insert into Forecast (IdProject, IdActivity, Title, Date_Modif, Deleted) "
                               "values (36, -2, '', 10, 0)"));
    exec(local, QStringLiteral("insert into Projets (Id, Nom, Parent, Date_Modif, Deleted) values "
                               "(36, 'boucle', 37, 1, 0), (37, 'retour', 36, 1, 0)"));
    exec(device, QStringLiteral("insert into Projets (Id, Nom, Parent, Date_Modif, Deleted) values "
                                "(36, 'boucle', 37, 1, 0), (37, 'retour', 36, 1, 0)"));

    SyncReviewList list;
    int count = 0;
    ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);
    QStringList names;
    for (const SyncReviewList::Row &row : list) {
        if (!row.isGroup)
            names << row.device.name + " | " + row.local.name;
    }
    EXPECT_EQ(names, QStringList({
                         "Là haut / Là bas / Là act | Ici haut / Ici bas / Ici act",
                         "retour / boucle | retour / boucle",
                         "Là haut -  | ",
                         "Là bas - Là act | Ici bas - Ici act",
                     }));
}

TEST_F(SyncCompareTest, RefusedCopiesAreNeitherReadNorWritten)
{
    exec(device, insertRow(CBdD::TableTaches, 5, QString(5000, u'x'), 10, false));
    const QByteArray sound = TestFolders::readFile(device);
    const struct
    {
        const char *what;
        QString sql; // made on a sound copy
        QByteArray bytes; // or the copy's whole contents
    } cases[] = {
        {"a trigger", "create trigger T after delete on Taches begin delete from Projets; end", {}},
        {"a view", "create view V as select * from Projets", {}},
        {"a column missing", "alter table Favoris drop column Ordre", {}},
        {"a table missing", "drop table NextRowId", {}},
        {"an older version", "update Infos set Value='1' where Name='VersionDB'", {}},
        {"a later version", "update Infos set Value='3' where Name='VersionDB'", {}},
        {"a text file", {}, "Ceci n'est pas une base de données.\n"},
        {"an empty file", {}, QByteArray("")},
        {"a copy cut short", {}, sound.left(sound.size() - 100)},
    };
    exec(local, insertRow(CBdD::TableProjets, 32, "p", 10, false));
    const QByteArray localBefore = hash(local);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(device);
        if (c.sql.isEmpty()) {
            TestFolders::writeFile(QStringLiteral("work/Ppc.sdb"), c.bytes);
        } else {
            makeDatabase(QStringLiteral("work/Ppc.sdb"));
            exec(device, c.sql);
        }
        const QByteArray deviceBefore = hash(device);
        SyncReviewList list;
        int count = 0;
        EXPECT_EQ(compare(list, count), CBdD::CompareOutcome::CopyRefused);
        EXPECT_TRUE(list.IsEmpty());
        EXPECT_EQ(count, 0);
        EXPECT_EQ(hash(device), deviceBefore);
        EXPECT_EQ(hash(local), localBefore);
    }
    QFile::remove(device);
    SyncReviewList list;
    int count = 0;
    EXPECT_EQ(compare(list, count), CBdD::CompareOutcome::CopyRefused);
    EXPECT_FALSE(QFileInfo::exists(device));
}

TEST_F(SyncCompareTest, CopyInAFolderWithAQuote)
{
    const QString quoted = makeDatabase(QStringLiteral("O'Brien/Ppc.sdb"));
    exec(quoted, insertRow(CBdD::TableProjets, 32, "p", 10, false));
    SyncReviewList list;
    int count = 0;
    CBdD db(local, CBdD::ReadOnly);
    EXPECT_EQ(db.CompareDatabases(quoted, list, nullptr, count, formats), CBdD::CompareOutcome::Compared);
    EXPECT_EQ(decisions(list), QStringList({"1:32:-1:0"}));
}

TEST_F(SyncCompareTest, FailuresAndCancelAreToldApart)
{
    exec(local, insertRow(CBdD::TableProjets, 32, "p", 10, false));
    {
        // Cancelled before it starts: incomplete, not compared.
        ProgressDlgShared job([](ProgressDlgShared &) -> quint8 { return 1; }, nullptr);
        job.SetCancelled(true);
        SyncReviewList list;
        int count = 0;
        EXPECT_EQ(compare(list, count, &job), CBdD::CompareOutcome::Cancelled);
        EXPECT_EQ(count, 0);
    }
    {
        // No local database.
        SyncReviewList list;
        int count = 0;
        CBdD missing(TestFolders::file("none/Zarvo.sdb"), CBdD::ReadOnly);
        EXPECT_EQ(missing.CompareDatabases(device, list, nullptr, count, formats), CBdD::CompareOutcome::Failed);
        EXPECT_FALSE(QFileInfo::exists(TestFolders::file("none")));
    }
    {
        // A local table the comparison reads is gone: the tables before it
        // were compared, the failure is told.
        exec(local, QStringLiteral("drop table Favoris"));
        SyncReviewList list;
        int count = 0;
        EXPECT_EQ(compare(list, count), CBdD::CompareOutcome::Failed);
    }
}

TEST_F(SyncCompareTest, StampsOfAnyValueFromTheDevice)
{
    // Stamps the device may hold: the 64-bit limits, a negative value,
    // a text, NULL.
    exec(local, QStringLiteral("insert into Projets (Id, Nom, Date_Modif, Deleted) values "
                               "(1, 'a', 5, 0), (2, 'b', 5, 0), (3, 'c', 5, 0), (4, 'd', 5, 0), (5, 'e', NULL, 0)"));
    exec(device, QStringLiteral("insert into Projets (Id, Nom, Date_Modif, Deleted) values "
                                "(1, 'a', 9223372036854775807, 0), (2, 'b', -9223372036854775808, 0), "
                                "(3, 'c', '5 o''clock', 0), (4, 'd', NULL, 0), (5, 'e', 0, 0)"));
    // A row number beyond 32 bits stays itself.
    exec(device, insertRow(CBdD::TableProjets, 1099511627776, "far", 5, false));
    SyncReviewList list;
    int count = 0;
    ASSERT_EQ(compare(list, count), CBdD::CompareOutcome::Compared);
    // A text reads as its leading number, NULL as 0.
    EXPECT_EQ(decisions(list), QStringList({"1:1099511627776:-1:0", "1:1:1:0", "1:2:2:2", "1:4:4:2"}));
    // A stamp beyond the calendar shows no date.
    EXPECT_TRUE(list.At(2).device.modified.isEmpty());
    EXPECT_FALSE(list.At(3).local.modified.isEmpty());
    // Deleting it deletes that row and no other.
    list.Item(1)->action = SyncItem::Delete;
    exec(device, insertRow(CBdD::TableProjets, 0, "zero", 5, false));
    RecordingSteps steps;
    ASSERT_TRUE(merge(list, steps));
    EXPECT_EQ(cell(device, "select group_concat(Id) from (select Id from Projets order by Id)"), "0,1,2,3,4,5");
}
