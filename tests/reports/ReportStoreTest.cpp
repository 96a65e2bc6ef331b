// The report definitions database, on files of the test's own.
#include "CReportStore.h"
#include "CTreeWidgetFiller.h"
#include "CmyDataBase.h"
#include "DamagedPage.h"
#include "MyTable.h"
#include "QStringPrinter.h"
#include "TestFolders.h"
#include "tReportDefinition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QString cell(const QString &path, const QString &sql)
{
    SQLite::CmyDataBase db;
    if (db.OpenReadOnly(path) != 0)
        return QStringLiteral("<no file>");
    SQLite::MyTablePtr t = db.Query(sql);
    if (!t)
        return QStringLiteral("<failed>");
    return t->MoveFirst() ? t->GetValueAt(0) : QStringLiteral("<none>");
}

void exec(const QString &path, const QString &sql)
{
    SQLite::CmyDataBase db;
    ASSERT_EQ(db.Open(path), 0);
    ASSERT_EQ(db.Execute(sql), 0) << sql.toStdString();
}

// A report database with the given reports (name, id) made the way a save
// makes it.
QString reportsWith(std::initializer_list<std::pair<const char16_t *, int>> reports)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.rpt"));
    CReportStore store(path);
    EXPECT_TRUE(store.OpenDatabase(true));
    for (const auto &[name, id] : reports)
        exec(path, QStringLiteral("insert into Reports (Id, Nom, Type) values (%1, '%2', 0)")
                       .arg(id)
                       .arg(QString::fromUtf16(name).replace(u'\'', QStringLiteral("''"))));
    return path;
}

QStringList shown(const QTreeWidgetItem *parent)
{
    QStringList rows;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem *item = parent->child(i);
        rows << QStringLiteral("%1 #%2 img%3")
                    .arg(item->text(0))
                    .arg(item->data(0, CTreeWidgetFiller::DataRole).toLongLong())
                    .arg(item->data(0, CTreeWidgetFiller::ImageRole).toInt());
    }
    return rows;
}

} // namespace

// Only a save makes the file: every other operation on a missing file
// fails and leaves no file behind; a made file holds the three tables and
// version 1.
TEST(ReportStore, OnlyCreatingMakesTheFile)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.rpt"));
    CReportStore store(path);
    QTreeWidget tree;
    CTreeWidgetFiller filler(&tree);
    EXPECT_FALSE(store.OpenDatabase(false));
    EXPECT_FALSE(store.FillReportTree(filler, nullptr));
    EXPECT_FALSE(store.RenameReport(1, QStringLiteral("x")));
    EXPECT_FALSE(store.DeleteReport(1));
    EXPECT_FALSE(QFileInfo::exists(path));

    ASSERT_TRUE(store.OpenDatabase(true));
    EXPECT_EQ(cell(path, QStringLiteral("select Value from Infos where Name='VersionDB'")), QStringLiteral("1"));
    EXPECT_EQ(cell(path, QStringLiteral("select count(*) from sqlite_master where type='table' and name in "
                                        "('Reports','OnScreen','Infos')")),
              QStringLiteral("3"));
    EXPECT_EQ(cell(path, QStringLiteral("select count(*) from Reports where Colonnes is null")), QStringLiteral("0"));
    EXPECT_TRUE(store.FillReportTree(filler, nullptr));
    EXPECT_EQ(tree.topLevelItemCount(), 0);

    // No user, no path: nothing.
    EXPECT_FALSE(CReportStore(QString()).OpenDatabase(true));
}

// A database of the first layout (no column list, no version) is brought
// up to date once; one whose column is there already only gets its
// version; a second open changes nothing.
TEST(ReportStore, TheFirstLayoutIsUpgradedOnce)
{
    struct Case
    {
        const char *name;
        const char16_t *reports;
    };
    const Case cases[] = {
        {"no column list", u"create table Reports(Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Type integer)"},
        {"column list there", u"create table Reports(Id integer PRIMARY KEY AUTOINCREMENT, Nom text, Type integer, "
                              u"Colonnes text)"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = TestFolders::tempDb(QStringLiteral("Old%1.rpt").arg(&c - cases));
        exec(path, QString::fromUtf16(c.reports));
        exec(path, QStringLiteral("insert into Reports (Nom, Type) values ('Mensuel', 0)"));
        CReportStore store(path);
        ASSERT_TRUE(store.OpenDatabase(false));
        EXPECT_EQ(cell(path, QStringLiteral("select Value from Infos where Name='VersionDB'")),
                  QStringLiteral("1"));
        EXPECT_EQ(cell(path, QStringLiteral("select count(Colonnes) + count(*) from Reports")), QStringLiteral("1"));
        ASSERT_TRUE(store.OpenDatabase(false));
        EXPECT_EQ(cell(path, QStringLiteral("select count(*) from Infos")), QStringLiteral("1"));
        EXPECT_EQ(cell(path, QStringLiteral("select Nom from Reports")), QStringLiteral("Mensuel"));
    }
}

// The tree gets the reports in name order with their picture and id; a
// rename stores the name as typed, apostrophes and accents included; a
// delete removes the one row.
TEST(ReportStore, FillsRenamesAndDeletes)
{
    const QString path = reportsWith({{u"Suivi", 4}, {u"Annuel", 9}, {u"Mensuel", 2}});
    CReportStore store(path);
    QTreeWidget tree;
    CTreeWidgetFiller filler(&tree);
    const CTreeFiller::Item root = filler.InsertItem(nullptr, QStringLiteral("Rapports"), 1, 1, 0);
    ASSERT_TRUE(store.FillReportTree(filler, root));
    EXPECT_EQ(shown(tree.topLevelItem(0)),
              (QStringList{QStringLiteral("Annuel #9 img19"), QStringLiteral("Mensuel #2 img19"),
                           QStringLiteral("Suivi #4 img19")}));

    ASSERT_TRUE(store.RenameReport(4, QStringLiteral("L'été")));
    EXPECT_EQ(cell(path, QStringLiteral("select Nom from Reports where Id=4")), QStringLiteral("L'été"));
    ASSERT_TRUE(store.DeleteReport(9));
    EXPECT_EQ(cell(path, QStringLiteral("select group_concat(Id) from (select Id from Reports order by Id)")),
              QStringLiteral("2,4"));
}

// Another connection holding the write lock makes a rename or a delete
// fail; nothing changes.
TEST(ReportStore, WritesFailWhileAnotherConnectionHoldsTheFile)
{
    const QString path = reportsWith({{u"Mensuel", 2}});
    const int saved = SQLite::CmyDataBase::BusyTimeoutMs();
    SQLite::CmyDataBase::SetBusyTimeoutMs(0);
    {
        SQLite::CmyDataBase other;
        ASSERT_EQ(other.Open(path), 0);
        ASSERT_EQ(other.Execute(u"BEGIN EXCLUSIVE"), 0);
        CReportStore store(path);
        EXPECT_FALSE(store.DeleteReport(2));
        EXPECT_FALSE(store.RenameReport(2, QStringLiteral("Autre")));
        other.RollbackTransaction();
    }
    SQLite::CmyDataBase::SetBusyTimeoutMs(saved);
    EXPECT_EQ(cell(path, QStringLiteral("select Nom from Reports where Id=2")), QStringLiteral("Mensuel"));
}

namespace {

// Every stored field of a definition, for comparisons that show what
// differs.
QString stored(const tReportDefinition &d)
{
    QStringList f;
    f << QString::number(d.Id) << d.Nom << QString::number(d.Periode) << d.Debut.toString(Qt::ISODate)
      << d.Fin.toString(Qt::ISODate) << QString::number(d.Status) << QString::number(d.ShowStatus)
      << QString::number(d.Type) << d.Projets << d.Activites << QString::number(d.TitreAuto) << d.Titre
      << QString::number(d.Detail);
    for (int level : d.Grp)
        f << QString::number(level);
    f << QString::number(d.Grp_Col) << QString::number(d.DetailCross) << d.Modele << QString::number(d.PaperSize)
      << QString::number(d.PaperWidth) << QString::number(d.PaperHeight) << QString::number(d.Portrait)
      << QString::number(d.MargeLeft) << QString::number(d.MargeTop) << QString::number(d.MargeRight)
      << QString::number(d.MargeBottom) << QString::number(d.Columns.Type())
      << QString::number(d.Columns.IsDefault()) << d.Columns.Format();
    return f.join(u" | ");
}

// A definition that differs from a new one in every stored field.
tReportDefinition everyFieldSet()
{
    tReportDefinition d;
    d.Nom = QStringLiteral("L'été de l'équipe");
    d.Periode = 9;
    d.Debut = QDate(2024, 3, 5);
    d.Fin = QDate(2024, 12, 31);
    d.Status = 2;
    d.ShowStatus = false;
    d.Type = 1;
    d.Projets = QStringLiteral("(12,15,40)");
    d.Activites = QStringLiteral("(3,7)");
    d.TitreAuto = false;
    d.Titre = QStringLiteral("Coûts d'été à 50%1 %2");
    d.Detail = false;
    d.Grp = {0, 1, 3, 4, -1};
    d.Grp_Col = 2;
    d.Modele = QStringLiteral("l'été");
    d.PaperSize = -3;
    d.PaperWidth = 2159;
    d.PaperHeight = 32000;
    d.Portrait = false;
    d.MargeLeft = 150;
    d.MargeTop = 120;
    d.MargeRight = 90;
    d.MargeBottom = 0;
    d.Columns.FillDefault();
    d.Columns.ShowKind(6);
    d.Columns[6].Caption = QStringLiteral("Taux; l'heure");
    d.Columns[6].Align = 2;
    d.Columns.ShowKind(1);
    EXPECT_TRUE(d.Columns.Move(0, 6, true));
    return d;
}

} // namespace

// A first save makes the file with its layout; a definition saved and
// read back keeps every stored field, apostrophes in every text included;
// a second save of it replaces its row.
TEST(ReportStore, SavedDefinitionsComeBackWhole)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.rpt"));
    CReportStore store(path);
    tReportDefinition d = everyFieldSet();
    d.Extra = QStringLiteral("never stored");
    d.Modified = true;
    ASSERT_TRUE(store.SaveReport(d));
    EXPECT_EQ(cell(path, QStringLiteral("select Value from Infos where Name='VersionDB'")), QStringLiteral("1"));
    EXPECT_EQ(cell(path, QStringLiteral("select count(*) from sqlite_master where name in "
                                        "('Reports','OnScreen','Infos')")),
              QStringLiteral("3"));
    ASSERT_NE(d.Id, -1);
    EXPECT_TRUE(d.Modified); // the caller's to clear

    tReportDefinition back;
    ASSERT_TRUE(store.LoadReport(d.Id, back));
    EXPECT_EQ(stored(back), stored(d));
    EXPECT_TRUE(back.Extra.isEmpty());

    d.Nom = QStringLiteral("Renommé");
    d.Type = 0;
    const int id = d.Id;
    ASSERT_TRUE(store.SaveReport(d));
    EXPECT_EQ(d.Id, id);
    EXPECT_EQ(cell(path, QStringLiteral("select count(*) from Reports")), QStringLiteral("1"));
    ASSERT_TRUE(store.LoadReport(id, back));
    EXPECT_EQ(stored(back), stored(d));

    // An empty title is an automatic one; an automatic title made by the
    // settings is stored empty, so that it comes back automatic.
    d.Titre.clear();
    ASSERT_TRUE(store.SaveReport(d));
    ASSERT_TRUE(store.LoadReport(id, back));
    EXPECT_TRUE(back.TitreAuto);
    back.BuildAutoTitle();
    ASSERT_FALSE(back.Titre.isEmpty());
    ASSERT_TRUE(store.SaveReport(back));
    EXPECT_EQ(cell(path, QStringLiteral("select Titre from Reports")), QString());
    ASSERT_TRUE(store.LoadReport(id, back));
    EXPECT_TRUE(back.TitreAuto);
    EXPECT_FALSE(store.LoadReport(id + 1, back));
}

// How each kind stores its detail flag and columns: a cross table keeps
// its own flag in Detail and no column list; a default list is not
// stored and comes back as the defaults of the kind; a project-tracking
// list keeps the tracking columns.
TEST(ReportStore, EachKindStoresItsFlagsAndColumns)
{
    const QString path = TestFolders::tempDb(QStringLiteral("Zarvo.rpt"));
    CReportStore store(path);

    tReportDefinition cross;
    cross.Type = 3;
    cross.Detail = true;
    cross.DetailCross = false;
    cross.Columns.SetType(CReportColumnSet::CrossTable);
    cross.Columns.Append(tReportColumn(37, true));
    cross.Columns.SetDefault(false);
    ASSERT_TRUE(store.SaveReport(cross));
    EXPECT_EQ(cell(path, QStringLiteral("select Detail || '/' || Colonnes from Reports where Id=%1").arg(cross.Id)),
              QStringLiteral("0/"));
    tReportDefinition back;
    ASSERT_TRUE(store.LoadReport(cross.Id, back));
    EXPECT_TRUE(back.Detail);
    EXPECT_FALSE(back.DetailCross);
    EXPECT_EQ(back.Columns.Type(), CReportColumnSet::CrossTable);
    EXPECT_EQ(back.Columns.Count(), 0);

    tReportDefinition summary;
    summary.Detail = false;
    summary.Grp = {3, 4, -1, -1, -1};
    summary.SetDefaultColumns(summary.Columns);
    ASSERT_TRUE(store.SaveReport(summary));
    EXPECT_EQ(cell(path, QStringLiteral("select Detail || '/' || Colonnes from Reports where Id=%1").arg(summary.Id)),
              QStringLiteral("0/"));
    ASSERT_TRUE(store.LoadReport(summary.Id, back));
    EXPECT_FALSE(back.Detail);
    EXPECT_TRUE(back.DetailCross);
    EXPECT_TRUE(back.Columns.IsDefault());
    EXPECT_EQ(back.Columns.Format(), summary.Columns.Format());

    tReportDefinition tracking;
    tracking.Type = 4;
    tracking.Columns.SetType(CReportColumnSet::TrackingColumns);
    tracking.SetDefaultColumns(tracking.Columns);
    ASSERT_TRUE(tracking.Columns.Swap(0, 1));
    ASSERT_TRUE(store.SaveReport(tracking));
    ASSERT_TRUE(store.LoadReport(tracking.Id, back));
    EXPECT_EQ(back.Columns.Type(), CReportColumnSet::TrackingColumns);
    EXPECT_FALSE(back.Columns.IsDefault());
    EXPECT_EQ(back.Columns.Format(), tracking.Columns.Format());
    EXPECT_EQ(back.Columns[0].Kind, 22);
}

// Rows written by hand or by another program: a template name keeps no
// ".tpl" in any case, a date that is not "YYYY-MM-DD" reads as invalid,
// missing numbers read 0, and a damaged column list keeps what reads.
TEST(ReportStore, HandWrittenRowsLoadSafely)
{
    const QString path = reportsWith({});
    struct Case
    {
        const char *values; // Nom, Debut, Modele, Colonnes
        const char *debut;  // the date read, ISO; "" invalid
        const char *modele;
    };
    const Case cases[] = {
        {"'a', '2024-03-05', 'rapport.TPL', ''", "2024-03-05", "rapport"},
        {"'b', '2024-03-05 10:00', 'rapport.Tpl.tpl', ''", "2024-03-05", "rapport.Tpl"},
        {"'c', '2024-3-5', 'tpl', ''", "", "tpl"},
        {"'d', '2024-02-30', '.tpl', ''", "", ""},
        {"'e', '', 'zarvo', ''", "", "zarvo"},
        {"'f', '2024', 'zarvo', ''", "", "zarvo"},
        {"'g', '-024-03-05', 'zarvo', ''", "", "zarvo"},
        {"'h', '２０２４-03-05', 'zarvo', ''", "", "zarvo"},
        {"'i', null, null, 'junk|Fin;1;1;-1;Fin prévue|Date;0;1|Duree;-1;1;200;|'", "", ""},
    };
    for (const Case &c : cases)
        exec(path, QStringLiteral("insert into Reports (Nom, Debut, Modele, Colonnes) values (%1)")
                       .arg(QString::fromUtf8(c.values)));
    CReportStore store(path);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].values);
        tReportDefinition d;
        ASSERT_TRUE(store.LoadReport(i + 1, d));
        EXPECT_EQ(d.Debut.isValid() ? d.Debut.toString(Qt::ISODate) : QString(), QString::fromUtf8(cases[i].debut));
        EXPECT_EQ(d.Modele, QString::fromUtf8(cases[i].modele));
        EXPECT_FALSE(d.Fin.isValid());
        EXPECT_EQ(d.Type, 0);
        EXPECT_FALSE(d.Detail);
        EXPECT_EQ(d.Grp[0], 0);
        EXPECT_EQ(d.PaperSize, 0);
    }
    tReportDefinition damaged;
    ASSERT_TRUE(store.LoadReport(9, damaged));
    ASSERT_EQ(damaged.Columns.Count(), 21);
    EXPECT_EQ(damaged.Columns.CountShown(), 2);
    EXPECT_EQ(damaged.Columns[0].Kind, 4);
    EXPECT_EQ(damaged.Columns[0].GetCaption(), QStringLiteral("Fin prévue"));
    // A column cut short: what follows the last ";" is the caption.
    EXPECT_EQ(damaged.Columns[1].Kind, 0);
    EXPECT_FALSE(damaged.Columns[1].Shown);
    EXPECT_EQ(damaged.Columns[1].Caption, QStringLiteral("1"));
    EXPECT_EQ(damaged.Columns[2].Kind, 5);
    EXPECT_EQ(damaged.Columns[2].Width, 200);
    EXPECT_FALSE(damaged.Columns.IsDefault());
}

// The number of reports of a name, and the id only when there is one.
TEST(ReportStore, FindsReportsByName)
{
    const QString path = reportsWith({{u"L'été", 4}, {u"Double", 5}, {u"Double", 6}});
    CReportStore store(path);
    struct Case
    {
        const char16_t *name;
        int count;
        int id;
    };
    for (const Case &c : {Case{u"Absent", 0, 99}, Case{u"L'été", 1, 4}, Case{u"Double", 2, 99}}) {
        int id = 99;
        EXPECT_EQ(store.FindReportByName(QString::fromUtf16(c.name), id), c.count);
        EXPECT_EQ(id, c.id);
    }
    int kind = -1;
    EXPECT_TRUE(store.GetReportType(4, kind));
    EXPECT_EQ(kind, 0);
    EXPECT_FALSE(store.GetReportType(7, kind));
    int id = 99;
    EXPECT_EQ(CReportStore(TestFolders::tempDb(QStringLiteral("None.rpt"))).FindReportByName(u"Double"_qs, id), 0);
}

// A save that does not land says so and leaves the definition's id: no
// user, a folder that is not there, a file another program holds, a
// COMMIT refused while another program reads, a report deleted meanwhile.
TEST(ReportStore, ASaveThatDoesNotLandFails)
{
    tReportDefinition d;
    EXPECT_FALSE(CReportStore(QString()).SaveReport(d));
    EXPECT_FALSE(CReportStore(TestFolders::root() + QStringLiteral("/missing/Zarvo.rpt")).SaveReport(d));
    EXPECT_EQ(d.Id, -1);

    const QString path = reportsWith({{u"Mensuel", 2}});
    CReportStore store(path);
    const int saved = SQLite::CmyDataBase::BusyTimeoutMs();
    SQLite::CmyDataBase::SetBusyTimeoutMs(0);
    for (const char16_t *hold : {u"BEGIN EXCLUSIVE", u"BEGIN; select count(*) from Reports"}) {
        SCOPED_TRACE(QString::fromUtf16(hold).toStdString());
        SQLite::CmyDataBase other;
        ASSERT_EQ(other.Open(path), 0);
        SQLite::MyTablePtr held = other.Query(hold);
        ASSERT_EQ(other.GetLastCode(), 0);
        EXPECT_FALSE(store.SaveReport(d));
        EXPECT_EQ(d.Id, -1);
        other.RollbackTransaction();
    }
    SQLite::CmyDataBase::SetBusyTimeoutMs(saved);
    EXPECT_EQ(cell(path, QStringLiteral("select count(*) from Reports")), QStringLiteral("1"));

    d.Id = 3; // deleted meanwhile
    EXPECT_FALSE(store.SaveReport(d));
    EXPECT_EQ(cell(path, QStringLiteral("select count(*) from Reports")), QStringLiteral("1"));
}

// A file that is not a report database, one of a later version, one with
// a damaged page, or one whose index disagrees with its table, is never
// changed: every operation fails (a save of another report too) and the
// bytes stay.
TEST(ReportStore, ForeignFilesAreLeftAlone)
{
    const QString later = reportsWith({{u"Futur", 1}});
    exec(later, QStringLiteral("update Infos set Value='2' where Name='VersionDB'"));
    // Another program's database, which holds none of our tables.
    const QString foreign = TestFolders::tempDb(QStringLiteral("foreign.rpt"));
    exec(foreign, QStringLiteral("create table Notes(Id integer, Text text)"));
    exec(foreign, QStringLiteral("insert into Notes values (1, 'à garder')"));
    // Eight definitions over several pages, one of which reads as if it
    // held one row fewer: SQLite lists seven of them without an error.
    const QString whole = TestFolders::tempDb(QStringLiteral("whole.rpt"));
    for (int i = 1; i <= 8; ++i) {
        tReportDefinition d;
        d.Nom = QStringLiteral("Futur %1").arg(i);
        d.TitreAuto = false;
        d.Titre = QString(1500, u'x');
        ASSERT_TRUE(CReportStore(whole).SaveReport(d));
    }
    const QByteArray damaged = DamagedPage::oneRowShort(TestFolders::readFile(whole), "Futur");
    ASSERT_FALSE(damaged.isEmpty());
    const QString onePage = TestFolders::writeFile(QStringLiteral("page.rpt"), damaged);
    ASSERT_EQ(cell(onePage, QStringLiteral("select count(*) from Reports")), QStringLiteral("7"));
    // Sound pages, but an index whose rows no longer follow its table: the
    // quick check passes it, only the whole one finds it.
    const QString index = TestFolders::tempDb(QStringLiteral("index.rpt"));
    for (const char *name : {"Un", "Deux", "Trois"}) {
        tReportDefinition d;
        d.Nom = QString::fromLatin1(name);
        d.Type = d.Nom.size() == 2 ? 0 : 3;
        ASSERT_TRUE(CReportStore(index).SaveReport(d));
    }
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.Open(index), 0);
        for (const char16_t *sql : {u"create index ParNom on Reports(Nom)", u"PRAGMA writable_schema=ON",
                                    u"update sqlite_master set sql='CREATE INDEX ParNom on Reports(Type)' "
                                    u"where name='ParNom'",
                                    u"PRAGMA writable_schema=OFF"})
            ASSERT_EQ(db.Execute(sql), 0) << QString::fromUtf16(sql).toStdString();
    }
    ASSERT_EQ(cell(index, QStringLiteral("pragma quick_check")), QStringLiteral("ok"));
    ASSERT_NE(cell(index, QStringLiteral("pragma integrity_check")), QStringLiteral("ok"));
    const QString files[] = {
        TestFolders::writeFile(QStringLiteral("text.rpt"), "Ceci n'est pas une base de rapports.\n"),
        TestFolders::writeFile(QStringLiteral("cut.rpt"), QByteArray("SQLite format 3\0", 16) + QByteArray(80, 'x')),
        later,
        foreign,
        onePage,
        index,
    };
    for (const QString &path : files) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray before = TestFolders::readFile(path);
        CReportStore store(path);
        QTreeWidget tree;
        CTreeWidgetFiller filler(&tree);
        tReportDefinition d;
        int id = -1;
        int kind = -1;
        EXPECT_FALSE(store.OpenDatabase(true));
        EXPECT_FALSE(store.FillReportTree(filler, nullptr));
        EXPECT_FALSE(store.SaveReport(d));
        EXPECT_FALSE(store.LoadReport(1, d));
        EXPECT_FALSE(store.GetReportType(1, kind));
        EXPECT_EQ(store.FindReportByName(QStringLiteral("Futur"), id), 0);
        EXPECT_FALSE(store.RenameReport(1, QStringLiteral("x")));
        EXPECT_FALSE(store.DeleteReport(1));
        EXPECT_FALSE(store.SaveOnScreenReports({{1, false, 2}}));
        EXPECT_FALSE(store.ReopenOnScreenReports([](int, bool, int) { ADD_FAILURE(); }));
        EXPECT_EQ(TestFolders::readFile(path), before);
    }
}

// A file whose making was cut short (empty, or without the table of the
// reports) gets what it lacks at its next open, so that saves work again.
TEST(ReportStore, AFileCutShortIsMended)
{
    const QString empty = TestFolders::writeFile(QStringLiteral("empty.rpt"), QByteArray());
    const QString noReports = TestFolders::tempDb(QStringLiteral("infos.rpt"));
    exec(noReports, QStringLiteral("create table Infos(Name text, Value text)"));
    exec(noReports, QStringLiteral("insert into Infos(Name, Value) values ('VersionDB','1')"));
    for (const QString &path : {empty, noReports}) {
        SCOPED_TRACE(path.toStdString());
        CReportStore store(path);
        ASSERT_TRUE(store.OpenDatabase(false));
        EXPECT_EQ(cell(path, QStringLiteral("select count(*) from sqlite_master where name in "
                                            "('Reports','OnScreen','Infos')")),
                  QStringLiteral("3"));
        EXPECT_EQ(cell(path, QStringLiteral("select group_concat(Value) from Infos where Name='VersionDB'")),
                  QStringLiteral("1"));
        tReportDefinition d;
        d.Nom = QStringLiteral("Après réparation");
        EXPECT_TRUE(store.SaveReport(d));
        EXPECT_TRUE(store.SaveOnScreenReports({{d.Id, false, 2}}));
    }
}

// The reports on screen: a save replaces the list, a save that fails half
// way leaves the previous list; reopening calls the opener in stored
// order with the stored mode and zoom (absent: 0, outside 0 to 3: 2) and
// keeps the list.
TEST(ReportStore, ReportsOnScreenAreReplacedAndReopenedInOrder)
{
    const QString path = reportsWith({{u"Un", 1}});
    CReportStore store(path);
    ASSERT_TRUE(store.SaveOnScreenReports({{9, false, 2}}));
    ASSERT_TRUE(store.SaveOnScreenReports({{3, true, 1}, {1, false, 3}, {2, false, 0}}));
    exec(path, QStringLiteral("create trigger refuse before insert on OnScreen when new.Id = 99 "
                              "begin select raise(abort, 'refused'); end"));
    EXPECT_FALSE(store.SaveOnScreenReports({{5, false, 2}, {99, false, 2}}));
    exec(path, QStringLiteral("insert into OnScreen (Id, Preview, Zoom) values (7, 'x', 9)"));
    exec(path, QStringLiteral("insert into OnScreen (Id, Preview, Zoom) values (8, null, null)"));
    exec(path, QStringLiteral("insert into OnScreen (Id, Preview, Zoom) values (4, '0', -1)"));
    exec(path, QStringLiteral("insert into OnScreen (Id, Preview, Zoom) values (5, 1, 4)"));
    exec(path, QStringLiteral("insert into OnScreen (Id, Preview, Zoom) values (6, 1, 3)"));

    QStringList opened;
    const auto record = [&opened](int id, bool preview, int zoom) {
        opened << QStringLiteral("%1 %2 %3").arg(id).arg(preview).arg(zoom);
    };
    ASSERT_TRUE(store.ReopenOnScreenReports(record));
    const QStringList expected{QStringLiteral("3 1 1"), QStringLiteral("1 0 3"), QStringLiteral("2 0 0"),
                               QStringLiteral("7 1 2"), QStringLiteral("8 0 0"), QStringLiteral("4 0 2"),
                               QStringLiteral("5 1 2"), QStringLiteral("6 1 3")};
    EXPECT_EQ(opened, expected);
    opened.clear();
    ASSERT_TRUE(store.ReopenOnScreenReports(record));
    EXPECT_EQ(opened, expected);

    ASSERT_TRUE(store.SaveOnScreenReports({}));
    EXPECT_EQ(cell(path, QStringLiteral("select count(*) from OnScreen")), QStringLiteral("0"));
}
