// The placeholder table of the report drawing.
#include "CAppData.h"
#include "CConfiguration.h"
#include "Clock.h"
#include "QStringPrinter.h"
#include "ReportPlaceholders.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

class ReportPlaceholdersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        initial = TakePlaceholderSnapshot();
        config.longDates = true;
        CAppData::SetConfiguration(&config);
        Platform::Clock::setFixedNow(QDateTime(QDate(2024, 3, 31), QTime(0, 30)).toSecsSinceEpoch());
    }
    void TearDown() override
    {
        RestorePlaceholderSnapshot(initial);
        CAppData::Clear();
        Platform::Clock::reset();
    }
    QString replaced(const QString &text, const QStringList *groups = nullptr)
    {
        QString out = text;
        ReplacePlaceholders(out, groups);
        return out;
    }

    tPlaceholderSnapshot initial;
    CConfiguration config;
};

} // namespace

TEST_F(ReportPlaceholdersTest, NothingIsReplacedBeforeTheTableIsReady)
{
    RestorePlaceholderSnapshot(tPlaceholderSnapshot());
    SetPlaceholderValue(QStringLiteral("Titre"), PlaceholderTitle);
    EXPECT_EQ(replaced(QStringLiteral("[Title] [Date]")), QStringLiteral("[Title] [Date]"));
}

TEST_F(ReportPlaceholdersTest, ValuesDatesAndGroupsTakeTheirPlaces)
{
    InitReportPlaceholders();
    SetPlaceholderValue(QStringLiteral("Suivi"), PlaceholderTitle);
    SetPlaceholderValue(QStringLiteral("2"), PlaceholderNumPage);
    SetPlaceholderValue(QStringLiteral("5"), PlaceholderNbPage);
    SetPlaceholderValue(QStringLiteral("12:30"), PlaceholderTotal);
    SetPlaceholderValue(QStringLiteral("stored"), PlaceholderGroupTitle);
    SetPlaceholderValue(QStringLiteral("ignored"), 6);
    SetPlaceholderDates(4, QDate(2024, 3, 1), QDate(2024, 3, 31));

    const QString today = config.FormatOleDate(QDate(2024, 3, 31), true);
    const QString todayShort = config.FormatOleDate(QDate(2024, 3, 31), false);
    ASSERT_NE(today, todayShort);
    EXPECT_EQ(replaced(QStringLiteral("[Title] p. [NumPage]/[NbPage] [NumPage] = [Total]")),
              QStringLiteral("Suivi p. 2/5 2 = 12:30"));
    EXPECT_EQ(replaced(QStringLiteral("[Date]|[DateShort]|[StartDateShort]|[EndDate]")),
              today + u'|' + todayShort + u'|' + config.FormatOleDate(QDate(2024, 3, 1), false) + u'|' + today);
    // Keys match exactly; the group keys only take a given list.
    EXPECT_EQ(replaced(QStringLiteral("[title] [GroupTitle] [GroupTotal]")),
              QStringLiteral("[title] [GroupTitle] [GroupTotal]"));
    const QStringList one{QStringLiteral("Projet A")};
    const QStringList two{QStringLiteral("Projet A"), QStringLiteral("3:00")};
    EXPECT_EQ(replaced(QStringLiteral("[GroupTitle] [GroupTotal]"), &one), QStringLiteral("Projet A [GroupTotal]"));
    EXPECT_EQ(replaced(QStringLiteral("[GroupTitle] [GroupTotal]"), &two), QStringLiteral("Projet A 3:00"));

    // An invalid date gives an empty text.
    SetPlaceholderDates(0, QDate(), QDate(2024, 3, 31));
    EXPECT_EQ(replaced(QStringLiteral("<[StartDate]>")), QStringLiteral("<>"));
}

// A drawer that fills the table for itself puts it back as it was.
TEST_F(ReportPlaceholdersTest, ASnapshotPutsTheTableBack)
{
    InitReportPlaceholders();
    SetPlaceholderValue(QStringLiteral("Rapport"), PlaceholderTitle);
    SetPlaceholderValue(QStringLiteral("8:00"), PlaceholderTotal);
    SetPlaceholderDates(4, QDate(2024, 3, 1), QDate(2024, 3, 31));
    const QString text = QStringLiteral("[Title] [Total] [StartDateShort]");
    const QString before = replaced(text);

    const tPlaceholderSnapshot snapshot = TakePlaceholderSnapshot();
    SetPlaceholderValue(QStringLiteral("Aperçu"), PlaceholderTitle);
    SetPlaceholderValue(QStringLiteral("hh:mm"), PlaceholderTotal);
    SetPlaceholderDates(0, QDate(2000, 1, 1), QDate(2000, 1, 2));
    EXPECT_NE(replaced(text), before);
    RestorePlaceholderSnapshot(snapshot);
    EXPECT_EQ(replaced(text), before);
    EXPECT_EQ(TakePlaceholderSnapshot(), snapshot);

    // Initialising empties the values.
    InitReportPlaceholders();
    EXPECT_EQ(replaced(QStringLiteral("<[Title]>")), QStringLiteral("<>"));
}
