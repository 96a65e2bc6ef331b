#include "CConfiguration.h"
#include "CRunningEntryCards.h"
#include "Formatter.h"
#include "TestDatabase.h"

using Platform::Formatter;

namespace {

class RunningEntryCardsTest : public TestDatabase
{
protected:
    void put(int id, qint64 start, qint64 end, int project, int activity)
    {
        exec(Formatter::sprintf(u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,"
                                u"Date_Modif,Origine_Modif,Deleted,Title,Notes) values "
                                u"(%d,%I64d,%I64d,%d,%d,0,-1,1000,1,0,'','')",
                                {id, start, end, project, activity}));
    }
    static void setColour(const char16_t *table, int id, int red, int green, int blue)
    {
        exec(Formatter::sprintf(u"update %s set Red=%d, Green=%d, Blue=%d where Id=%d", {table, red, green, blue, id}));
    }
};

} // namespace

// Each running entry with its project and activity as the store knows
// them: a deleted project is missing from its card.
TEST_F(RunningEntryCardsTest, RunningEntriesWithTheirNamesAndColours)
{
    const qint64 start = 1'709'542'800; // Monday 4 March 2024, 10:00 in Paris
    const int alpha = saveProject(QStringLiteral("Alpha"));
    const int gone = saveProject(QStringLiteral("Parti"));
    const int dev = saveActivity(QStringLiteral("Développement"));
    setColour(u"Projets", alpha, 255, 0, 0);
    setColour(u"Activites", dev, 0, 0, 255);
    exec(Formatter::sprintf(u"update Projets set Deleted=1 where Id=%d", {gone}));
    put(301, start, start + 3600, alpha, dev); // ended: no card
    put(302, start, 0, alpha, dev);
    put(303, start + 60, 0, gone, dev);
    put(304, start + 120, 0, alpha, -1);
    reload();

    const std::vector<tRunningCard> cards = CRunningEntryCards().RunningCards();
    ASSERT_EQ(cards.size(), 3u);
    EXPECT_EQ(cards[0].id, 302);
    EXPECT_EQ(cards[0].project, QStringLiteral("Alpha"));
    EXPECT_EQ(cards[0].projectColour, 0x0000FFu);
    EXPECT_EQ(cards[0].activity, QStringLiteral("Développement"));
    EXPECT_EQ(cards[0].activityColour, 0xFF0000u);
    EXPECT_EQ(cards[0].start, CConfiguration().FormatDate(start, true, true));

    EXPECT_EQ(cards[1].id, 303);
    EXPECT_FALSE(cards[1].project);
    EXPECT_FALSE(cards[1].projectColour);
    EXPECT_EQ(cards[1].activityColour, 0xFF0000u);

    EXPECT_EQ(cards[2].id, 304);
    EXPECT_FALSE(cards[2].activity);
    EXPECT_EQ(cards[2].projectColour, 0x0000FFu);
}

TEST_F(RunningEntryCardsTest, NoDatabaseGivesNoCard)
{
    CAppData::SetCurrentDatabasePath(QString());
    EXPECT_TRUE(CRunningEntryCards().RunningCards().empty());
}
