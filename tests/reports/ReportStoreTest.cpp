// The report definitions database, on files of the test's own.
#include "CReportStore.h"
#include "CTreeWidgetFiller.h"
#include "CmyDataBase.h"
#include "MyTable.h"
#include "QStringPrinter.h"
#include "TestFolders.h"

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
