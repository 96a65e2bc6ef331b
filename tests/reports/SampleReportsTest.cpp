// The sample report definitions the build makes for a new user with the
// sample data.
#include "CReportStore.h"
#include "CReportTemplate.h"
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
        CReportTemplate tpl;
        EXPECT_EQ(tpl.Load(QStringLiteral("/nonexistent/"), d.Modele, QStringLiteral(ZARVO_TEMPLATES_DIR_FRA)),
                  CReportTemplate::Loaded);
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

// Each delivered template loads whole: every object line of the file lands
// in a section, every section and group level 1 to 5 is drawn, and the
// pages carry their numbers, the total and the date.
TEST(SampleReports, DeliveredTemplatesLoadWhole)
{
    for (const char *name : {"zarvo", "zarvo-nb"}) {
        SCOPED_TRACE(name);
        const QString path = QStringLiteral(ZARVO_TEMPLATES_DIR_FRA) + QLatin1String(name) + QLatin1String(".tpl");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        int objectLines = 0;
        while (!file.atEnd()) {
            const QByteArray line = file.readLine().trimmed();
            if (!line.isEmpty() && !line.startsWith('!') && !line.startsWith('[') && !line.startsWith("params="))
                ++objectLines;
        }

        CReportTemplate tpl;
        ASSERT_EQ(tpl.Load(QString(), path, QString()), CReportTemplate::Loaded);
        EXPECT_EQ(tpl.GetVersion(), 1);
        int objects = 0;
        QString texts;
        for (int code = CReportTemplate::Title; code <= CReportTemplate::GroupLine; ++code) {
            const int count = code < CReportTemplate::GroupHeader ? 1 : tpl.GetGroupCount(code);
            if (code >= CReportTemplate::GroupHeader) {
                EXPECT_EQ(count, CReportTemplate::MaxGroupLevels) << code;
            }
            for (int index = 0; index < count; ++index) {
                const CDrawSection *section = tpl.GetSection(code, index);
                ASSERT_TRUE(section);
                EXPECT_FALSE(section->Objects().empty()) << code << " " << index;
                EXPECT_GT(section->GetHeight(), 0) << code << " " << index;
                objects += int(section->Objects().size());
                for (const auto &object : section->Objects())
                    texts += object->GetText();
            }
        }
        EXPECT_EQ(objects, objectLines);
        for (const char *placeholder : {"[NumPage]", "[NbPage]", "[Total]", "[Date]", "[Title]"})
            EXPECT_TRUE(texts.contains(QLatin1String(placeholder))) << placeholder;
        // Detail lines alternate: the odd ones are shaded.
        EXPECT_TRUE(tpl.GetSection(CReportTemplate::DataLineOdd)->Objects().front()->Fill);
        EXPECT_FALSE(tpl.GetSection(CReportTemplate::DataLineEven)->Objects().front()->Fill);
    }
}
