#include "CConfiguration.h"
#include "CProjectStore.h"
#include "CTextMeasure.h"
#include "EntryBoxPlan.h"
#include "MonthLayout.h"
#include "QStringPrinter.h"
#include "tUsers.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QTime>

#include <cmath>
#include <ostream>
#include <vector>

namespace {

const QDate Day(2026, 3, 10);

qint64 at(int h, int m, QDate day = Day)
{
    return QDateTime(day, QTime(h, m)).toSecsSinceEpoch();
}

constexpr quint32 Red = 0x0000FF;    // project Alpha
constexpr quint32 Green = 0x00FF00;  // activity Dev
constexpr quint32 Neutral = 0xE6E6E6;
constexpr quint32 Fallback = 0x123456;
constexpr quint32 Selected = 0x45C7F0;
constexpr int LineHeight = 13;

// The pieces of one line, bold ones in brackets: "[Début : ]08:00".
QString textOf(const tEntryBoxPlan::tLine &line)
{
    QString out;
    for (const tEntryBoxPlan::tPiece &p : line.pieces)
        out += p.bold ? u'[' + p.text + u']' : p.text;
    return out;
}
std::vector<QString> textsOf(const tEntryBoxPlan &plan)
{
    std::vector<QString> out;
    for (const tEntryBoxPlan::tLine &line : plan.lines)
        out.push_back(textOf(line));
    return out;
}

class EntryBoxPlanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config.SetLocale(QLocale(QLocale::French, QLocale::France));
        const auto addProject = [this](int id, const QString &name, const QString &title) {
            tElement project;
            project.Id = id;
            project.Nom = name;
            project.Title = title;
            project.Color = Red;
            store.AddProject(project, nullptr, QString());
        };
        addProject(40, QStringLiteral("Alpha"), QString());
        addProject(41, QStringLiteral("Beta"), QStringLiteral("Beta titre"));
        tElement dev;
        dev.Id = 50;
        dev.Nom = QStringLiteral("Dev");
        dev.Color = Green;
        store.SetActivity(50, dev);

        settings.headerHeight = 40;
        settings.scrollPos = 0;
        settings.clientTop = 0;
        settings.clientBottom = 2000;
        settings.dayCount = 7;
        settings.today = Day;
        settings.neutralColour = Neutral;
        settings.fallbackColour = Fallback;
        settings.store = &store;
        settings.config = &config;
        settings.texts = tEntryBoxTexts::Load();
        settings.lineHeight = LineHeight;
        settings.boldWidth = [](QStringView s) { return 7 * int(s.size()); };
        settings.normalWidth = [](QStringView s) { return 6 * int(s.size()); };

        column.Date = Day;
        column.left = 65;
        column.right = 265;
        column.trackCount = 1;
    }

    // An entry of project 40 and activity 50 from 08:00 to 09:30, its box
    // `height` pixels high from row 480.
    tTacheParams entry(int height = 60, const QString &title = QString())
    {
        tTacheParams e;
        e.Id = 7;
        e.Debut = at(8, 0);
        e.Fin = at(9, 30);
        e.IdProjet = 40;
        e.IdActivite = 50;
        e.Title = title;
        e.top = 480;
        e.bottom = 480 + height;
        return e;
    }

    tEntryBoxPlan plan(const tTacheParams &e, bool last = false) { return PlanEntryBox(e, column, last, settings); }

    CConfiguration config;
    CProjectStore store;
    tEntryBoxSettings settings;
    tDayColumn column;
};

} // namespace

TEST_F(EntryBoxPlanTest, FillAndStripeFollowTheColourType)
{
    // The box runs from row 520 to 580 (header 40); the stripe's halves
    // meet at 551.
    using Stripes = std::vector<std::tuple<int, int, quint32>>;
    struct Case
    {
        const char *what;
        int colourType;
        int project, activity; // 99 and 98 are not in the store
        bool selected;
        quint32 fill;
        Stripes stripes;
    };
    const std::vector<Case> cases = {
        {"default colour", 0, 40, 50, false, Neutral, {{521, 551, Red}, {551, 580, Green}}},
        {"default colour, project deleted", 0, 99, 50, false, Neutral, {{521, 551, Green}, {551, 580, Green}}},
        {"default colour, activity deleted", 0, 40, 98, false, Neutral, {{521, 551, Red}, {551, 580, Red}}},
        {"default colour, both deleted", 0, 99, 98, false, Neutral, {{521, 551, Fallback}}},
        {"the root is no project", 0, -1, 98, false, Neutral, {{521, 551, Fallback}}},
        {"project colour", 1, 40, 50, false, Red, {{521, 579, Green}}},
        {"project colour, activity deleted", 1, 40, 98, false, Red, {}},
        {"project colour, project deleted", 1, 99, 50, false, Neutral, {{521, 579, Green}}},
        {"activity colour", 2, 40, 50, false, Green, {{521, 579, Red}}},
        {"activity colour, project deleted", 2, 99, 50, false, Green, {}},
        {"activity colour, activity deleted", 2, 40, 98, false, Neutral, {{521, 579, Red}}},
        {"user colour", 3, 40, 50, false, 0x00FFFF, {{521, 551, Red}, {551, 580, Green}}},
        {"an unknown colour type", 7, 40, 50, false, Neutral, {{521, 551, Red}, {551, 580, Green}}},
        {"selected keeps its stripe", 1, 40, 50, true, Selected, {{521, 579, Green}}},
        {"selected, default colour", 0, 40, 98, true, Selected, {{521, 551, Red}, {551, 580, Red}}},
    };
    tUsers user;
    user.Color = 0x00FFFF;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        user.TypeColor = c.colourType;
        settings.SetUser(&user);
        tTacheParams e = entry();
        e.IdProjet = c.project;
        e.IdActivite = c.activity;
        settings.selectedId = c.selected ? e.Id : -1;
        const tEntryBoxPlan p = plan(e);
        ASSERT_TRUE(p.visible);
        EXPECT_EQ(p.fill, c.fill);
        EXPECT_EQ(p.frame, DarkenColour(c.fill, 20));
        Stripes stripes;
        for (const tEntryBoxPlan::tStripe &s : p.stripes)
            stripes.emplace_back(s.top, s.bottom, s.colour);
        EXPECT_EQ(stripes, c.stripes);
    }
    // Without a current user the default colour is used.
    settings.SetUser(nullptr);
    settings.selectedId = -1;
    EXPECT_EQ(plan(entry()).fill, Neutral);
}

TEST_F(EntryBoxPlanTest, ColoursOfTextAndFrame)
{
    struct Case
    {
        quint32 fill, text, frame;
    };
    const std::vector<Case> cases = {
        {0x00FFFF, 0x000000, 0x00EBEB},   // yellow (236.6): black
        {0xFF0000, 0xFFFFFF, 0xEB0000},   // blue (18.4): white
        {0x0A1E14, 0xFFFFFF, 0x000A00},   // channels at or under 20 become 0
        {Neutral, 0x000000, 0xD2D2D2},
    };
    tUsers user;
    user.TypeColor = 3;
    for (const Case &c : cases) {
        user.Color = int(c.fill);
        settings.SetUser(&user);
        const tEntryBoxPlan p = plan(entry());
        EXPECT_EQ(p.text, c.text) << std::hex << c.fill;
        EXPECT_EQ(p.frame, c.frame) << std::hex << c.fill;
    }
}

TEST_F(EntryBoxPlanTest, LinesAsTheHeightAllows)
{
    struct Case
    {
        int height;
        bool title;
        int lineCount, gap;
        std::vector<QString> lines;
    };
    const QString times = QStringLiteral("08:00[ - ]09:30[ (]1:30[)]");
    const std::vector<Case> cases = {
        {24, true, 1, 5, {QStringLiteral("[Réunion]")}},
        {24, false, 1, 5, {times}},
        {26, true, 2, 0, {QStringLiteral("[Réunion]"), times}},
        {26, false, 2, 0, {QStringLiteral("Alpha[ - ]Dev"), times}},
        {39, true, 3, 0, {QStringLiteral("[Réunion]"), QStringLiteral("Alpha[ - ]Dev"), times}},
        {39, false, 3, 0, {QStringLiteral("Alpha"), QStringLiteral("Dev"), times}},
        {52, true, 4, 0, {QStringLiteral("[Réunion]"), QStringLiteral("Alpha"), QStringLiteral("Dev"), times}},
        {52, false, 4, 0, {QStringLiteral("Alpha"), QStringLiteral("Dev"), times}},
        {100, true, 4, 5, {QStringLiteral("[Réunion]"), QStringLiteral("Alpha"), QStringLiteral("Dev"), times}},
        {12, true, 0, 5, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.height << (c.title ? " with a title" : ""));
        const tEntryBoxPlan p = plan(entry(c.height, c.title ? QStringLiteral("Réunion") : QString()));
        EXPECT_EQ(p.lineCount, c.lineCount);
        EXPECT_EQ(p.gap, c.gap);
        EXPECT_EQ(textsOf(p), c.lines);
        for (size_t i = 0; i < p.lines.size(); ++i) {
            const tEntryBoxPlan::tLine &line = p.lines[i];
            EXPECT_EQ(line.top, 520 + c.gap + int(i) * (LineHeight + c.gap));
            EXPECT_EQ(line.bottom, line.top + LineHeight);
            EXPECT_EQ(line.left, 80);
            EXPECT_EQ(line.right, 263);
        }
    }
}

TEST_F(EntryBoxPlanTest, LabelsInTheDayViewAndTimesOnOtherDays)
{
    const QDate yesterday = Day.addDays(-1);
    struct Case
    {
        const char *what;
        int dayCount;
        qint64 debut, fin;
        QDate day, today;
        int projectId;
        std::vector<QString> lines;
    };
    const std::vector<Case> cases = {
        {"week view", 7, at(8, 0), at(9, 30), Day, Day, 40,
         {QStringLiteral("Alpha"), QStringLiteral("Dev"), QStringLiteral("08:00[ - ]09:30[ (]1:30[)]")}},
        {"day view", 1, at(8, 0), at(9, 30), Day, Day, 40,
         {QStringLiteral("[Projet : ]Alpha"), QStringLiteral("[Activité : ]Dev"),
          QStringLiteral("[Début : ]08:00[ - Fin : ]09:30[ (Durée : ]1:30[)]")}},
        {"a project's title before its name", 7, at(8, 0), at(9, 30), Day, Day, 41,
         {QStringLiteral("Beta titre"), QStringLiteral("Dev"), QStringLiteral("08:00[ - ]09:30[ (]1:30[)]")}},
        {"a deleted project", 1, at(8, 0), at(9, 30), Day, Day, 99,
         {QStringLiteral("[Projet : ]"), QStringLiteral("[Activité : ]Dev"),
          QStringLiteral("[Début : ]08:00[ - Fin : ]09:30[ (Durée : ]1:30[)]")}},
        {"running since yesterday, today", 7, at(20, 0, yesterday), 0, Day, Day, 40,
         {QStringLiteral("Alpha"), QStringLiteral("Dev"), QStringLiteral("...[ - ]En cours…")}},
        {"running since yesterday, today, day view", 1, at(20, 0, yesterday), 0, Day, Day, 40,
         {QStringLiteral("[Projet : ]Alpha"), QStringLiteral("[Activité : ]Dev"),
          QStringLiteral("[Début : ]...[ - Fin : ]En cours…")}},
        {"running, on its first day", 7, at(20, 0, yesterday), 0, yesterday, Day, 40,
         {QStringLiteral("Alpha"), QStringLiteral("Dev"), QStringLiteral("20:00[ - ]...")}},
        {"across midnight, the first day", 7, at(22, 0, yesterday), at(2, 0), yesterday, Day, 40,
         {QStringLiteral("Alpha"), QStringLiteral("Dev"), QStringLiteral("22:00[ - ]...")}},
        {"across midnight, the second day", 7, at(22, 0, yesterday), at(2, 0), Day, Day, 40,
         {QStringLiteral("Alpha"), QStringLiteral("Dev"), QStringLiteral("...[ - ]02:00")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        settings.dayCount = c.dayCount;
        settings.today = c.today;
        column.Date = c.day;
        column.right = 465; // room for the longest line
        tTacheParams e = entry(52);
        e.Debut = c.debut;
        e.Fin = c.fin;
        e.IdProjet = c.projectId;
        EXPECT_EQ(textsOf(plan(e)), c.lines);
    }
}

// A month cell's row: the times with the duration in parentheses, as
// the texts write them, where the entry starts and ends that day.
TEST_F(EntryBoxPlanTest, MonthRowTimes)
{
    const QDate yesterday = Day.addDays(-1);
    const struct
    {
        const char *what;
        qint64 debut, fin;
        QString times;
    } cases[] = {
        {"within the day", at(8, 0), at(9, 30), QStringLiteral("08:00 - 09:30 (1:30)")},
        {"from the day before", at(22, 0, yesterday), at(2, 0), QStringLiteral("... - 02:00")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        tTacheParams e = entry();
        e.Debut = c.debut;
        e.Fin = c.fin;
        EXPECT_EQ(PlanMonthEntry(e, Day, settings).times, c.times);
    }
}

TEST_F(EntryBoxPlanTest, TextIsCutToTheBoxWidth)
{
    const TextWidth seven = [](QStringView s) { return 7 * int(s.size()); };
    struct Fit
    {
        QString text;
        int room;
        QString shown;
        bool cut;
    };
    const std::vector<Fit> fits = {
        {QStringLiteral("Réunion"), 49, QStringLiteral("Réunion"), false},
        {QStringLiteral("Réunion"), 48, QStringLiteral("Réu..."), true},
        {QStringLiteral("Réunion"), 10, QStringLiteral("..."), true},
        {QStringLiteral("Réunion"), -5, QStringLiteral("..."), true},
        {QString(), 0, QString(), false},
        {QStringLiteral("😀😀😀"), 41, QStringLiteral("😀..."), true},
        {QStringLiteral("😀😀😀"), 34, QStringLiteral("..."), true}, // never half a character
    };
    for (const Fit &f : fits) {
        SCOPED_TRACE(testing::Message() << f.text.toStdString() << " in " << f.room);
        const tFittedText fitted = FitText(f.text, f.room, seven);
        EXPECT_EQ(fitted.text, f.shown);
        EXPECT_EQ(fitted.width, seven(f.shown));
        EXPECT_EQ(fitted.cut, f.cut);
    }

    // A line stops at its first cut: the "..." ends it.
    column.right = column.left + 100; // text from 80 to 163
    tEntryBoxPlan p = plan(entry(24));
    ASSERT_EQ(p.lines.size(), 1u);
    EXPECT_EQ(textOf(p.lines[0]), QStringLiteral("08:00[ - ]09:30[...]"));
    std::vector<int> lefts;
    for (const tEntryBoxPlan::tPiece &piece : p.lines[0].pieces)
        lefts.push_back(piece.left);
    EXPECT_EQ(lefts, (std::vector<int>{80, 110, 131, 161}));
    p = plan(entry(24, QStringLiteral("Une réunion bien trop longue")));
    EXPECT_EQ(textsOf(p), (std::vector<QString>{QStringLiteral("[Une réun...]")}));

    // Too narrow for any text: colours and stripe only.
    for (const int width : {55, 56}) {
        SCOPED_TRACE(width);
        column.right = column.left + width;
        tTacheParams e = entry(60, QStringLiteral("Réunion"));
        e.Notes = QStringLiteral("note");
        p = plan(e);
        EXPECT_TRUE(p.visible);
        EXPECT_FALSE(p.stripes.empty());
        EXPECT_EQ(p.lines.empty(), width == 55);
        EXPECT_EQ(p.notesIcon, width == 56);
    }
}

TEST_F(EntryBoxPlanTest, NotesIconMakesRoomBesideTheFirstLines)
{
    struct Case
    {
        int height;
        int iconTop;
        std::vector<int> rights; // of each line
    };
    // The box runs from x 65 to 265 and from row 520.
    const std::vector<Case> cases = {
        {24, 520, {235}},
        {27, 520, {235, 237}},
        {28, 522, {235, 237}},
        {60, 522, {235, 237, 263, 263}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.height);
        tTacheParams e = entry(c.height, QStringLiteral("Réunion"));
        e.Notes = QStringLiteral("à rappeler");
        const tEntryBoxPlan p = plan(e);
        EXPECT_TRUE(p.notesIcon);
        EXPECT_EQ(p.iconLeft, 239);
        EXPECT_EQ(p.iconTop, c.iconTop);
        std::vector<int> rights;
        for (const tEntryBoxPlan::tLine &line : p.lines)
            rights.push_back(line.right);
        EXPECT_EQ(rights, c.rights);
    }
}

TEST_F(EntryBoxPlanTest, RectangleFromTracksHeaderAndScrolling)
{
    struct Case
    {
        const char *what;
        int firstSlot, endSlot, trackCount;
        bool last;
        int top, bottom, scrollPos;
        bool visible;
        int x0, y0, x1, y1;
    };
    const std::vector<Case> cases = {
        {"middle track", 1, 2, 3, false, 480, 540, 0, true, 131, 520, 197, 580},
        {"widened to the last track", 1, 3, 3, false, 480, 540, 0, true, 131, 520, 263, 580},
        {"the last column reaches its edge", 1, 3, 3, true, 480, 540, 0, true, 131, 520, 265, 580},
        {"not the last track of the last column", 0, 2, 3, true, 480, 540, 0, true, 65, 520, 197, 580},
        {"partly under the header", 0, 1, 1, false, 300, 390, 72, true, 65, 40, 265, 70},
        {"wholly scrolled off", 0, 1, 1, false, 300, 360, 72, false, 65, 40, 265, 40},
        {"below the client", 0, 1, 1, false, 1380, 1439, 0, false, 65, 1420, 265, 1479},
    };
    settings.clientBottom = 1000;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        column.trackCount = c.trackCount;
        settings.scrollPos = c.scrollPos;
        tTacheParams e = entry();
        e.firstSlot = c.firstSlot;
        e.endSlot = c.endSlot;
        e.top = c.top;
        e.bottom = c.bottom;
        const tEntryBoxPlan p = plan(e, c.last);
        EXPECT_EQ(p.visible, c.visible);
        EXPECT_EQ((std::vector<int>{p.left, p.top, p.right, p.bottom}), (std::vector<int>{c.x0, c.y0, c.x1, c.y1}));
        if (!c.visible) {
            EXPECT_TRUE(p.lines.empty() && p.stripes.empty());
        }
    }
}

// The widths the view cuts its texts with: each character measured once,
// a text never narrower than it is drawn.
TEST(TextMeasure, WidthIsTheSumOfTheCharactersAdvances)
{
    QFont bold;
    bold.setBold(true);
    for (const QFont &font : {QFont(), bold}) {
        const CTextMeasure measure(font);
        const QFontMetricsF metrics(font);
        EXPECT_EQ(measure.Width(u""), 0);
        EXPECT_GT(measure.Height(), 0);
        for (const QString &text : {QStringLiteral("Réunion de suivi"), QStringLiteral("AVATAR, Tout va. Wfpj"),
                                    QStringLiteral("fi ffl 08:00 - 09:30 (1:30)"), QStringLiteral("Durée : 😀 ok")}) {
            SCOPED_TRACE(text.toStdString());
            qreal sum = 0;
            for (qsizetype i = 0; i < text.size(); ++i) {
                const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
                sum += metrics.horizontalAdvance(text.mid(i, length));
                i += length - 1;
            }
            EXPECT_EQ(measure.Width(text), int(std::ceil(sum - 1e-6)));
            EXPECT_GE(measure.Width(text), int(metrics.horizontalAdvance(text)));
            // Measured again from what was kept.
            EXPECT_EQ(measure.Width(text), measure.Width(QStringView(text)));
        }
    }
}
