#include "ForecastColumns.h"
#include "ForecastSettings.h"
#include "QStringPrinter.h"
#include "Settings.h"

#include <gtest/gtest.h>

namespace {

// "0:5 1:2 ..." of a column list, as read back.
std::string listed(const std::vector<tColVisible> &columns)
{
    std::string text;
    for (const tColVisible &c : columns)
        text += (text.empty() ? "" : " ") + std::to_string(c.visible ? 1 : 0) + ":" + std::to_string(c.id);
    return text;
}

std::string shown(const std::vector<int> &ids)
{
    std::string text;
    for (int id : ids)
        text += (text.empty() ? "" : " ") + std::to_string(id);
    return text;
}

} // namespace

// The stored layout, good and bad, as the grid takes it: the shown ids
// (the name column first) and the hidden ids appended when fewer than 14
// are listed. Id 0 and repeated ids are never listed.
TEST(ForecastColumns, StoredLayoutsGiveTheShownColumns)
{
    const std::string missingHidden = " 0:3 0:4 0:6 0:7 0:8 0:9 0:10 0:11 0:12 0:13 0:14 0:15 0:16";
    const std::string allHidden =
        "0:2 0:3 0:4 0:5 0:6 0:7 0:8 0:9 0:10 0:11 0:12 0:13 0:14 0:15 0:16";
    struct Case
    {
        const char *stored;
        const char *shown;
        std::string list;
    };
    const Case cases[] = {
        {"1:5|1:2|", "0 5 2", "1:5 1:2" + missingHidden},
        // The default layout when nothing is stored, also after trimming.
        {"", "0 2 3 8 9 10 11 12 13 15",
         "0:1 1:2 1:3 0:4 0:5 0:6 0:7 1:8 1:9 1:10 1:11 1:12 1:13 0:14 1:15 0:16"},
        {"   ", "0 2 3 8 9 10 11 12 13 15",
         "0:1 1:2 1:3 0:4 0:5 0:6 0:7 1:8 1:9 1:10 1:11 1:12 1:13 0:14 1:15 0:16"},
        // No "|": no item; text after the last "|" is ignored.
        {"1:5", "0", allHidden},
        {"1:5|1:2", "0 5", "1:5" + std::string(" 0:2") + missingHidden},
        // Bad items are skipped.
        {"1:x|", "0", allHidden},
        {"1:99|", "0", allHidden},
        {"|||", "0", allHidden},
        {"1:-3|", "0", allHidden},
        // The name column is never listed, a column never twice.
        {"1:0|1:5|1:2|", "0 5 2", "1:5 1:2" + missingHidden},
        {"1:5|0:5|1:2|1:2|", "0 5 2", "1:5 1:2" + missingHidden},
        // Anything but "1:" hides.
        {"2:5|1:2|", "0 2", "0:5 1:2" + missingHidden},
    };
    for (const Case &c : cases) {
        const std::vector<tColVisible> columns = ForecastColumns::FromSetting(QString::fromLatin1(c.stored));
        EXPECT_EQ(listed(columns), c.list) << c.stored;
        EXPECT_EQ(shown(ForecastColumns::Displayed(columns)), c.shown) << c.stored;
    }
}

TEST(ForecastColumns, TheLayoutIsWrittenAsItIsRead)
{
    const std::vector<tColVisible> columns = ForecastColumns::FromSetting(QStringLiteral("1:5|0:2|1:16|"));
    ForecastColumns::WriteLayout(columns);
    EXPECT_EQ(ForecastColumns::ReadLayout().left(15), QStringLiteral("1:5|0:2|1:16|0:"));
    EXPECT_EQ(ForecastColumns::FromSetting(ForecastColumns::ReadLayout()), columns);
    // Under the window's own base and section.
    EXPECT_TRUE(Platform::Settings().contains(u"Forecast", u"Forecast", u"Columns"));
}

TEST(ForecastColumns, WidthsTakeTheirDefaultsForBadValues)
{
    Platform::Settings settings;
    settings.setString(u"Forecast", u"Forecast", u"WidthCol_2", QStringLiteral("abc"));
    settings.setInt(u"Forecast", u"Forecast", u"WidthCol_4", -40);
    settings.setInt(u"Forecast", u"Forecast", u"WidthCol_9", 123);
    settings.sync();
    EXPECT_EQ(ForecastColumns::ReadWidth(2), 80);
    EXPECT_EQ(ForecastColumns::ReadWidth(4), 190);
    EXPECT_EQ(ForecastColumns::ReadWidth(9), 123);
    EXPECT_EQ(ForecastColumns::ReadWidth(0), 180); // nothing stored
}

TEST(ForecastColumns, MovingKeepsTheNameColumnFirst)
{
    struct Case
    {
        int dragged;
        int target;
        bool after;
        bool moved;
        const char *list;
    };
    const Case cases[] = {
        {5, 2, false, true, "1:5 1:2 1:3"},
        {2, 5, true, true, "1:3 1:5 1:2"},
        {3, 2, false, true, "1:3 1:2 1:5"},
        {2, 3, false, false, "1:2 1:3 1:5"}, // already there
        {0, 3, false, false, "1:2 1:3 1:5"},
        {3, 0, true, false, "1:2 1:3 1:5"},
        {3, 3, true, false, "1:2 1:3 1:5"},
        {9, 3, true, false, "1:2 1:3 1:5"}, // not listed
    };
    for (const Case &c : cases) {
        std::vector<tColVisible> columns{{2, true}, {3, true}, {5, true}};
        EXPECT_EQ(ForecastColumns::Move(columns, c.dragged, c.target, c.after), c.moved)
            << c.dragged << "->" << c.target;
        EXPECT_EQ(listed(columns), c.list) << c.dragged << "->" << c.target;
    }
}

TEST(ForecastColumns, CaptionsAndDescriptions)
{
    EXPECT_EQ(ForecastColumns::Caption(true, 0), QStringLiteral("Projet / Activité"));
    EXPECT_EQ(ForecastColumns::Caption(false, 0), QString());
    EXPECT_EQ(ForecastColumns::Caption(true, 12), QStringLiteral("Durée restante"));
    EXPECT_EQ(ForecastColumns::Caption(false, 16), QStringLiteral("Notes de la tâche"));
    EXPECT_EQ(ForecastColumns::Caption(true, 17), QString());
    EXPECT_EQ(ForecastColumns::Caption(true, -1), QString());
}
