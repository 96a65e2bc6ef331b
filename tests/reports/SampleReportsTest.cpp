// The sample report definitions the build makes for a new user with the
// sample data.
#include "CReportStore.h"
#include "CmyDataBase.h"
#include "MyTable.h"
#include "QStringPrinter.h"
#include "TestFolders.h"
#include "tReportDefinition.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

// Every report loads, the kinds are all there, each names a delivered
// template, and a stored column list is in the form the program writes.
TEST(SampleReports, EveryReportLoads)
{
    const QString path = TestFolders::file(QStringLiteral("ZarvoFra.rpt"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZARVO_SAMPLE_RPT_FRA), path));
    QList<int> ids;
    QStringList storedColumns;
    {
        SQLite::CmyDataBase db;
        ASSERT_EQ(db.OpenReadOnly(path), 0);
        SQLite::MyTablePtr t = db.Query(u"select Id, Colonnes from Reports order by Id");
        ASSERT_TRUE(t.hasRows());
        for (int row = 0; row < t->rowCount(); ++row) {
            ids << t->GetIntAt(row, 0);
            storedColumns << t->GetCell(row, 1);
        }
    }
    CReportStore store(path);
    QSet<int> kinds;
    int explicitLists = 0;
    for (int i = 0; i < ids.size(); ++i) {
        tReportDefinition d;
        ASSERT_TRUE(store.LoadReport(ids[i], d)) << ids[i];
        SCOPED_TRACE(d.Nom.toStdString());
        kinds.insert(d.Type);
        EXPECT_FALSE(d.Nom.isEmpty());
        EXPECT_TRUE(d.Modele == QStringLiteral("zarvo") || d.Modele == QStringLiteral("zarvo-nb"));
        EXPECT_TRUE(d.Debut.isValid() && d.Fin.isValid());
        EXPECT_EQ(d.Columns.Type(), CReportColumnSet::TypeForReportKind(d.Type));
        if (d.Type != 3) {
            EXPECT_GT(d.Columns.CountShown(), 0);
        }
        if (!storedColumns[i].isEmpty()) {
            ++explicitLists;
            EXPECT_EQ(d.Columns.Format(), storedColumns[i]);
        }
        int id = -1;
        EXPECT_EQ(store.FindReportByName(d.Nom, id), 1);
        EXPECT_EQ(id, ids[i]);
    }
    EXPECT_EQ(kinds, (QSet<int>{0, 1, 2, 3, 4}));
    EXPECT_GE(explicitLists, 1);
}
