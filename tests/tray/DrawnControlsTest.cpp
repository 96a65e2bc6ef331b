// The window-free parts of the tray's drawn controls: the day strip's
// geometry, the current-task button's lines, the tip's texts and place.
#include "TrayFixture.h"

#include "CMyToolTipCtrl.h"
#include "CTranslationStore.h"
#include "CTrayToolTip.h"
#include "DayStripGeometry.h"
#include "LongTipChecks.h"
#include "Settings.h"
#include "TaskButtonLayout.h"

#include <QGuiApplication>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

tTacheFull entry(qint64 start, qint64 end, int project = -1, int activity = -1)
{
    tTacheFull e;
    e.Id = 1;
    e.Debut = start;
    e.Fin = end;
    e.IdProjet = project;
    e.IdActivite = activity;
    return e;
}

// Every label five pixels a character, as wide a band as asked.
DayStripGeometry strip(const std::vector<tTacheFull> &entries, qint64 now, int width = 600,
                       const QDate &day = QDate(2026, 3, 10))
{
    DayStripGeometry::tInput in;
    in.entries = &entries;
    in.now = now;
    in.day = day;
    in.width = width;
    in.bar = QRect(0, 20, width, 30);
    in.timeLabel = [](qint64 t) { return Platform::LocalTime::toLocal(t).toString(QStringLiteral("HH:mm")); };
    in.textWidth = [](const QString &t) { return int(t.size()) * 5; };
    return DayStripGeometry::Compute(in);
}

class DrawnControlsTest : public TrayFixture
{
protected:
    void SetUp() override
    {
        TrayFixture::SetUp();
        CTranslationStore french(nullptr, CTranslationStore::Program::Tray);
        texts.SetLocale(QLocale(QLocale::French, QLocale::France));
        texts.Load(french, Platform::Settings());
        exec(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (32,'Client',-1,0,1,1)"_s);
        CTrayDatabase db(path);
        db.LoadProjects(store);
    }
    QString lookup(int id) const
    {
        CTranslationStore french(nullptr, CTranslationStore::Program::Tray);
        return french.GetString(id);
    }
    CTrayToolTip::TextLookup text = [this](int id) { return lookup(id); };
    TrayTexts texts;
};

} // namespace

TEST_F(DrawnControlsTest, DayStripRangeFollowsTheEntriesAndTheClock)
{
    const QDate sunday(2026, 3, 29); // Paris skips 02:00 to 03:00
    const struct
    {
        const char *name;
        std::vector<tTacheFull> entries;
        qint64 now;
        QDate day;
        int first, last;
    } cases[] = {
        {"ended morning entries, now afternoon: up to now", {entry(at(9, 0), at(10, 0)), entry(at(10, 30), at(11, 0))},
         at(15, 20), Today, 530, 920},
        {"ended entry after now's hour: 10 minutes after its end", {entry(at(9, 0), at(17, 50))}, at(17, 55), Today, 530,
         1080},
        {"running entry: to now", {entry(at(9, 5), 0)}, at(12, 7), Today, 535, 727},
        {"running since yesterday: from midnight", {entry(at(Today.addDays(-1), 22, 0), 0)}, at(1, 15), Today, 0, 75},
        {"entry ending tomorrow: to the last minute", {entry(at(20, 0), at(Today.addDays(1), 1, 0))}, at(20, 30), Today,
         1190, 1439},
        {"entry ending at the next midnight: to the last minute", {entry(at(20, 0), at(Today.addDays(1), 0, 0))},
         at(20, 30), Today, 1190, 1439},
        {"no entry: the current hour only", {}, at(14, 25), Today, 830, 865},
        {"no entry just after midnight: from minute 0", {}, at(0, 5), Today, 0, 5},
        {"entry later than the current hour", {entry(at(16, 0), at(16, 30))}, at(15, 20), Today, 890, 1000},
        {"clock change: minutes as time goes", {entry(at(sunday, 1, 0), at(sunday, 4, 0))}, at(sunday, 4, 0), sunday,
         50, 190},
    };
    for (const auto &c : cases) {
        const DayStripGeometry g = strip(c.entries, c.now, 600, c.day);
        EXPECT_EQ(g.FirstMinute(), c.first) << c.name;
        EXPECT_EQ(g.LastMinute(), c.last) << c.name;
        EXPECT_DOUBLE_EQ(g.Scale(), 600.0 / (c.last - c.first)) << c.name;
    }
}

TEST_F(DrawnControlsTest, DayStripBarsLinesTicksAndHits)
{
    // Midnight to 12:00 over 380 pixels.
    const std::vector<tTacheFull> entries = {entry(at(Today.addDays(-1), 23, 0), at(0, 30)),
                                             entry(at(9, 0), at(10, 0)), entry(at(11, 0), 0)};
    const DayStripGeometry g = strip(entries, at(12, 0), 380);
    ASSERT_EQ(g.FirstMinute(), 0) << "the first entry began yesterday";
    ASSERT_EQ(g.Spans().size(), 3u);
    const auto &night = g.Spans()[0];
    EXPECT_FALSE(night.startLine) << "begun before the day";
    EXPECT_TRUE(night.endLine);
    EXPECT_EQ(night.left, 0);
    const auto &morning = g.Spans()[1];
    EXPECT_TRUE(morning.drawn);
    EXPECT_TRUE(morning.startLine && morning.endLine);
    EXPECT_EQ(morning.left, g.X(540));
    EXPECT_EQ(morning.right, g.X(600));
    const auto &running = g.Spans()[2];
    EXPECT_TRUE(running.startLine);
    EXPECT_FALSE(running.endLine) << "a running entry has no end line";

    // Hits: inside the bar area only, the first entry in list order, from
    // a span's first pixel to its last.
    EXPECT_EQ(g.HitTest(QPoint(g.X(570), 30)), 1);
    EXPECT_EQ(g.HitTest(QPoint(morning.left, 30)), 1);
    EXPECT_EQ(g.HitTest(QPoint(morning.right, 30)), 1);
    EXPECT_EQ(g.HitTest(QPoint(g.X(570), 5)), -1) << "the label band";
    EXPECT_EQ(g.HitTest(QPoint(g.X(650), 30)), -1) << "between entries";
    EXPECT_EQ(g.HitTest(QPoint(g.X(690), 30)), 2);

    // An entry ending at the next midnight runs to the strip's end without
    // an end line; one of 30 seconds, narrower than a pixel, is neither
    // drawn nor lined.
    const DayStripGeometry evening =
        strip({entry(at(9, 0), at(9, 0) + 30), entry(at(20, 0), at(Today.addDays(1), 0, 0))}, at(20, 30), 600);
    ASSERT_EQ(evening.Spans().size(), 2u);
    const auto &blip = evening.Spans()[0];
    EXPECT_LT(evening.Scale(), 1.0);
    EXPECT_FALSE(blip.drawn);
    EXPECT_FALSE(blip.startLine);
    EXPECT_FALSE(blip.endLine);
    const auto &toMidnight = evening.Spans()[1];
    EXPECT_EQ(toMidnight.endMinute, 1439);
    EXPECT_EQ(toMidnight.right, 600);
    EXPECT_TRUE(toMidnight.startLine);
    EXPECT_FALSE(toMidnight.endLine);

    // Ticks every hour from midnight to 11:00; labels 25 pixels wide with
    // hours about 32 pixels apart: every other label is left out.
    ASSERT_EQ(g.Ticks().size(), 12u);
    std::vector<int> shown;
    for (const auto &t : g.Ticks())
        if (t.labelShown)
            shown.push_back(t.hour);
    EXPECT_EQ(shown, (std::vector<int>{0, 2, 4, 6, 8, 10}));

    // A label the right edge would cut is left out.
    const DayStripGeometry edge = strip({entry(at(9, 0), at(10, 0))}, at(11, 1), 500);
    ASSERT_EQ(edge.Ticks().back().hour, 11);
    EXPECT_GT(edge.Ticks().back().x + 12, 500);
    EXPECT_FALSE(edge.Ticks().back().labelShown);
}

TEST_F(DrawnControlsTest, DayStripKeepsEveryEntryOnTheDaysOfTheClockChanges)
{
    // The minutes of the day as time goes: 25 hours in autumn, 23 in spring.
    const auto shownLabels = [](const DayStripGeometry &g) {
        QStringList labels;
        for (const auto &t : g.Ticks())
            labels << t.label;
        return labels;
    };
    const QDate autumn(2026, 10, 25); // 03:00 summer time is 02:00 again
    const qint64 a = Platform::LocalTime::midnight(autumn);
    const std::vector<tTacheFull> repeated = {
        entry(a + 130 * 60, a + 160 * 60), // 02:10 to 02:40, summer time
        entry(a + 170 * 60, a + 190 * 60), // 02:50 summer time to 02:10 winter time
        entry(a + 195 * 60, a + 220 * 60), // 02:15 to 02:40, winter time
    };
    DayStripGeometry g = strip(repeated, a + 225 * 60, 600, autumn); // 02:45 winter time
    EXPECT_EQ(g.FirstMinute(), 120);
    EXPECT_EQ(g.LastMinute(), 230);
    ASSERT_EQ(g.Spans().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const auto &span = g.Spans()[i];
        EXPECT_TRUE(span.drawn) << i;
        EXPECT_GT(span.right - span.left, 0) << i;
        EXPECT_EQ(g.HitTest(QPoint((span.left + span.right) / 2, 30)), int(i)) << i;
    }
    EXPECT_EQ(g.Spans()[1].endMinute - g.Spans()[1].startMinute, 20) << "twenty minutes";
    EXPECT_EQ(shownLabels(g), (QStringList{u"02:00"_s, u"02:00"_s})) << "the hour shown twice";
    // Running past the next midnight: to the 25th hour's last minute.
    g = strip({entry(a + 23 * 3600, a + 26 * 3600)}, a + 24 * 3600 + 600, 600, autumn);
    EXPECT_EQ(g.LastMinute(), 1499);
    EXPECT_EQ(g.Spans()[0].endMinute, 1499);
    EXPECT_EQ(g.Ticks().back().hour, 24);
    EXPECT_EQ(g.Ticks().back().label, u"23:00"_s);

    const QDate spring(2026, 3, 29); // 02:00 winter time is 03:00
    const qint64 s = Platform::LocalTime::midnight(spring);
    g = strip({entry(s + 110 * 60, s + 130 * 60)}, s + 180 * 60, 600, spring); // 01:50 to 03:10
    EXPECT_EQ(g.FirstMinute(), 100);
    EXPECT_EQ(g.LastMinute(), 180);
    ASSERT_EQ(g.Spans().size(), 1u);
    EXPECT_TRUE(g.Spans()[0].drawn);
    EXPECT_EQ(g.HitTest(QPoint(g.X(120), 30)), 0);
    EXPECT_EQ(shownLabels(g), QStringList{u"03:00"_s});
    g = strip({entry(s + 20 * 3600, s + 24 * 3600)}, s + 22 * 3600, 600, spring);
    EXPECT_EQ(g.LastMinute(), 1379);
    EXPECT_EQ(g.Ticks().back().label, u"23:00"_s);
}

TEST_F(DrawnControlsTest, DayStripWithNothingToScaleDrawsNoBar)
{
    // At 00:00 with no entry the range is empty: no span, no tick, no hit.
    const DayStripGeometry g = strip({}, at(0, 0));
    EXPECT_TRUE(g.NoEntries());
    EXPECT_TRUE(g.Spans().empty());
    EXPECT_TRUE(g.Ticks().empty());
    EXPECT_EQ(g.HitTest(QPoint(0, 30)), -1);
    // A control of no width draws nothing either.
    EXPECT_TRUE(strip({entry(at(9, 0), at(10, 0))}, at(12, 0), 0).Spans().empty());
}

TEST_F(DrawnControlsTest, TaskButtonLines)
{
    // Labels and values five pixels a character, bold seven.
    TaskButtonLayout::tInput in;
    in.client = QRect(0, 0, 300, 80);
    const QString labels[5] = {u"Titre"_s, u"Projet"_s, u"Activité"_s, u"Début"_s, u"Fin"_s};
    for (int i = 0; i < 5; ++i)
        in.labels[i] = labels[i];
    in.project = u"Client"_s;
    in.activity = u"Développement"_s;
    in.startWithDate = u"10/03/2026 09:00"_s;
    in.startTime = u"09:00"_s;
    in.runningText = u"En cours…"_s;
    in.running = true;
    in.boldWidth = [](const QString &t) { return int(t.size()) * 7; };
    in.textWidth = [](const QString &t) { return int(t.size()) * 5; };

    // A running entry without title: four lines, the end "En cours…".
    auto lines = TaskButtonLayout::Lines(in);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].label, u"Projet"_s);
    EXPECT_EQ(lines[0].labelBox, QRect(5, 0, 56, 20)) << "as wide as 'Activité'";
    EXPECT_EQ(lines[3].value, u"En cours…"_s);
    EXPECT_EQ(lines[2].value, u"10/03/2026 09:00"_s);
    const int valueLeft = 5 + 56 + 15;
    EXPECT_EQ(lines[0].valueBox.left(), valueLeft);
    EXPECT_EQ(lines[0].valueBox.right(), 294 - TaskButtonLayout::PictureRoom) << "beside the picture";
    EXPECT_EQ(lines[1].valueBox.right(), 294 - TaskButtonLayout::PictureRoom) << "top 20 is within 30";
    EXPECT_EQ(lines[2].valueBox.right(), 294) << "below the picture";

    // With a title and a long project name: five lines, the name cut.
    in.title = u"Réunion"_s;
    in.project = QString(60, u'x');
    in.running = false;
    in.endWithDate = u"10/03/2026 10:00"_s;
    in.endTime = u"10:00"_s;
    lines = TaskButtonLayout::Lines(in);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].label, u"Titre"_s);
    EXPECT_EQ(lines[1].labelBox.height(), 16);
    EXPECT_TRUE(lines[1].value.endsWith(u"..."_s));
    EXPECT_LE(int(lines[1].value.size()) * 5, lines[1].valueBox.width());
    EXPECT_EQ(lines[4].value, u"10/03/2026 10:00"_s);

    // Too narrow for a date: start and end both show times only.
    in.client = QRect(0, 0, 150, 80);
    lines = TaskButtonLayout::Lines(in);
    EXPECT_EQ(lines[3].value, u"09:00"_s);
    EXPECT_EQ(lines[4].value, u"10:00"_s);
    in.dateShown = false;
    in.client = QRect(0, 0, 300, 80);
    EXPECT_EQ(TaskButtonLayout::Lines(in)[3].value, u"09:00"_s);
}

TEST_F(DrawnControlsTest, TaskButtonCutsAnyLengthMeasuringOnlyABoxOfIt)
{
    // Five pixels a character; the characters measured are counted.
    qsizetype measured = 0;
    const auto width = [&measured](const QString &t) {
        measured += t.size();
        return int(t.size()) * 5;
    };
    const struct
    {
        qsizetype length;
        QString expected;
    } cases[] = {
        {0, QString()},
        {40, QString(40, u'a')},                    // exactly 200 pixels
        {41, QString(37, u'a') + u"..."_s},         // 185 + 15
        {100, QString(37, u'a') + u"..."_s},
        {10000, QString(37, u'a') + u"..."_s},
        {1000000, QString(37, u'a') + u"..."_s},
    };
    for (const auto &c : cases) {
        measured = 0;
        EXPECT_EQ(TaskButtonLayout::Fitted(QString(c.length, u'a'), 200, width), c.expected) << c.length;
        EXPECT_LE(measured, 1000) << c.length << " characters: measured " << measured;
    }
    // A box narrower than the dots shows them alone.
    EXPECT_EQ(TaskButtonLayout::Fitted(u"abcdef"_s, 10, width), u"..."_s);
    // A character outside the basic plane is kept whole or left out.
    const QString faces = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(50);
    const QString cut = TaskButtonLayout::Fitted(faces, 202, width);
    EXPECT_TRUE(cut.endsWith(u"..."_s));
    EXPECT_FALSE(cut.chopped(3).back().isHighSurrogate());
    EXPECT_EQ(cut.chopped(3).size() % 2, 0);
}

TEST_F(DrawnControlsTest, TaskDescriptions)
{
    tTacheFull running = entry(at(17, 0), 0, 32);
    running.Title = u"Réunion & suivi"_s;
    tTacheFull ended = entry(at(16, 0), at(17, 0));
    const struct
    {
        const char *name;
        tTacheFull task;
        QString expected;
    } cases[] = {
        {"no entry", tTacheFull(), u"Aucune tâche"_s},
        {"running, with title and project", running,
         u"Réunion & suivi\nProjet : Client\nActivité :\nDébut : 10/03/2026 17:00\nFin : En cours…\nDurée : 1:00\n\n"
         "(Cliquez pour mettre en pause)"_s},
        {"ended", ended,
         u"Projet :\nActivité :\nDébut : 10/03/2026 16:00\nFin : 10/03/2026 17:00\nDurée : 1:00\n\n(Cliquez pour "
         "reprendre maintenant)"_s},
        {"started this second: no hint", entry(now, 0),
         u"Projet :\nActivité :\nDébut : 10/03/2026 18:00\nFin : En cours…\nDurée : 0:00"_s},
        {"in the future", entry(now + 60, 0), lookup(120)},
        {"ending in the future", entry(at(17, 0), now + 60), lookup(120)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CTrayToolTip::BuildTaskDescription(c.task, now, texts, store, text), c.expected) << c.name;

    EXPECT_EQ(CTrayToolTip::BuildDaySummary(0, u"0:00"_s, texts, text), u"Aucune tâche"_s);
    EXPECT_EQ(CTrayToolTip::BuildDaySummary(1, u"1:00"_s, texts, text), u"1 tâche\nDurée : 1:00"_s);
    EXPECT_EQ(CTrayToolTip::BuildDaySummary(12, u"7:30"_s, texts, text), u"12 tâches\nDurée : 7:30"_s);

    // A day-strip entry: names as the label, notes after the times.
    running.Notes = u"Compte rendu"_s;
    const tToolTipContent content = CTrayToolTip::EntryContent(running, now, texts, store);
    EXPECT_EQ(content.title, u"Réunion & suivi\nProjet : Client\nActivité :"_s);
    EXPECT_TRUE(content.description.endsWith(u"Durée : 1:00\n\nCompte rendu"_s)) << content.description.toStdString();
    // Command texts: description then label; a text without a line break
    // is a label alone.
    EXPECT_EQ(CTrayToolTip::CommandContent(u"Ferme.\nQuitter"_s).title, u"Quitter"_s);
    EXPECT_EQ(CTrayToolTip::CommandContent(u"Ferme.\nQuitter"_s).description, u"Ferme."_s);
    EXPECT_EQ(CTrayToolTip::CommandContent(u"Quitter"_s).description, QString());
}

TEST_F(DrawnControlsTest, TipsWrapLongNamesAndNotesAndStayOnTheScreen)
{
    const QString longName = u"Programme de rénovation "_s.repeated(5).left(100);
    exec(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (33,'%1',-1,0,2,1)"_s.arg(
        longName));
    CTrayDatabase(path).LoadProjects(store);
    tTacheFull task = entry(at(17, 0), at(17, 30), 33);
    // A line of notes with blanks, and one pasted without any.
    task.Notes = u"compte rendu "_s.repeated(100) + u'\n' + QString(2000, u'x');
    // Text at most 600 pixels wide, beside the picture, within the margins.
    const int widest = CMyToolTipCtrl::Margin + CTrayToolTip::PictureSize + CMyToolTipCtrl::Margin
        + CTrayToolTip::TextWidthLimit + CMyToolTipCtrl::Margin;
    CTrayToolTip tip(true);
    const tToolTipContent entryTip = CTrayToolTip::EntryContent(task, now, texts, store);
    ASSERT_TRUE(entryTip.title.contains(longName));
    tip.SetContent(entryTip);
    EXPECT_LE(tip.sizeHint().width(), widest);
    EXPECT_GT(tip.sizeHint().width(), widest - 100) << "a long line fills the width";
    const int lines = tip.sizeHint().height() / tip.fontMetrics().lineSpacing();
    EXPECT_GT(lines, 2000 * tip.fontMetrics().horizontalAdvance(u'x') / 600) << "the long word wraps too";
    tip.SetContent({longName, CTrayToolTip::BuildTaskDescription(task, now, texts, store, text), 0});
    EXPECT_LE(tip.sizeHint().width(), widest);

    // However long, the tip shows whole on the screen, in any corner.
    tip.SetContent(entryTip);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QPoint &cursor : {screen.bottomRight() - QPoint(5, 5), screen.topLeft(), screen.center()}) {
        tip.ShowAt(cursor);
        EXPECT_TRUE(screen.contains(tip.geometry())) << cursor.x() << ',' << cursor.y();
    }
    tip.hide();
}

// Every tip on every screen: each of its lines ends inside the tip, within
// the 600 pixels the text may take, and the tip lies on the screen, beside
// the cursor and never over it. A text taller than the room there is cut
// at the end of a line, with an ellipsis, and a long first line does not
// hide the notes after it. On a screen of 800 by 600, an entry's long
// title and project name show whole, then its times, and its notes are cut
// at the bottom.
TEST_F(DrawnControlsTest, TipsFitEveryScreenLineByLine)
{
    const QString longName = u"Programme de rénovation "_s.repeated(5).left(100);
    const QString wide(100, u'W');
    exec(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (33,'%1',-1,0,2,1)"_s.arg(longName));
    exec(u"insert into Projets (Id,Nom,Parent,Deleted,Date_Modif,Origine_Modif) values (34,'%1',-1,0,2,1)"_s.arg(wide));
    CTrayDatabase(path).LoadProjects(store);
    const auto entryTip = [this](int project, const QString &title, const QString &notes) {
        tTacheFull task = entry(at(17, 0), at(17, 30), project);
        task.Title = title;
        task.Notes = notes;
        return CTrayToolTip::EntryContent(task, now, texts, store);
    };
    const QString notesStart = u"Notes de la réunion"_s;
    const QString longTitle = u"Réunion de lancement avec le client "_s.repeated(3).left(100);
    QStringList noteLines;
    for (int i = 1; i <= 39; ++i)
        noteLines << u"Ligne %1 des notes : point abordé pendant la réunion"_s.arg(i);
    const tToolTipContent longEntry = entryTip(33, longTitle, noteLines.join(u'\n'));
    const struct
    {
        const char *name;
        tToolTipContent content;
        QString notes; // the start of the notes, when the tip has some
        bool namesWhole = false;
    } tips[] = {
        {"a 100-character title and project, 39 lines of notes", longEntry, noteLines.first(), true},
        {"a short entry", entryTip(32, u"Réunion"_s, QString()), QString()},
        {"a long name with blanks", entryTip(33, QString(), QString()), QString()},
        {"100 wide characters without a blank", entryTip(34, wide, notesStart), notesStart},
        {"long notes, one line without a blank",
         entryTip(32, QString(), notesStart + u" compte rendu"_s.repeated(200) + u'\n' + QString(2000, u'x')), notesStart},
        {"many short lines of notes", entryTip(32, QString(), notesStart + u"\nligne"_s.repeated(300)), notesStart},
        {"a title of 10 000 characters", entryTip(32, u"titre "_s.repeated(1700), notesStart), notesStart},
        {"the current entry's tip",
         {u"Dernière tâche :"_s, CTrayToolTip::BuildTaskDescription(entry(at(17, 0), 0, 34), now, texts, store, text), 0},
         QString()},
    };
    const QRect screens[] = {QRect(0, 0, 800, 600), QRect(0, 0, 533, 400), QRect(0, 0, 1280, 800),
                             QRect(1280, 0, 1920, 1080), QRect(0, 0, 320, 240)};
    CTrayToolTip tip(true);
    const int left = CMyToolTipCtrl::Margin + (tip.IconSize() ? tip.IconSize() + CMyToolTipCtrl::Margin : 0);
    for (const QRect &screen : screens) {
        for (const auto &t : tips) {
            const std::string what = std::string(t.name) + " on " + std::to_string(screen.width()) + "x"
                + std::to_string(screen.height());
            tip.SetContent(t.content);
            for (const QPoint &cursor : {screen.topLeft(), screen.center(), screen.bottomRight() - QPoint(5, 5)}) {
                tip.ShowWithin(cursor, screen);
                EXPECT_TRUE(screen.contains(tip.geometry())) << what;
                EXPECT_FALSE(tip.geometry().contains(cursor)) << what << ": over the cursor";
                if (t.namesWhole && screen.size() == QSize(800, 600)) {
                    SCOPED_TRACE(what + " at " + std::to_string(cursor.x()) + "," + std::to_string(cursor.y()));
                    ExpectNamesWholeAndNotesCut(tip, cursor, screen, t.content.title,
                                                t.content.description.split(u'\n').mid(0, 3), t.notes);
                }
            }
            const std::vector<CMyToolTipCtrl::tLine> &lines = tip.Lines();
            ASSERT_FALSE(lines.empty()) << what;
            bool notesShown = false;
            for (const CMyToolTipCtrl::tLine &line : lines) {
                EXPECT_GE(line.rect.left(), left) << what;
                EXPECT_LE(line.rect.width(), CTrayToolTip::TextWidthLimit) << what;
                EXPECT_LE(line.rect.right(), tip.width() - 1 - CMyToolTipCtrl::Margin)
                    << what << ": " << line.text.left(30).toStdString();
                EXPECT_LE(line.rect.bottom(), tip.height() - 1 - CMyToolTipCtrl::Margin)
                    << what << ": " << line.text.left(30).toStdString();
                // Measured again in its own font: the text fits its line.
                QFont font = tip.font();
                font.setBold(line.bold);
                EXPECT_LE(QFontMetrics(font).horizontalAdvance(line.text), line.rect.width() + 1) << what;
                notesShown = notesShown || line.text.startsWith(t.notes.left(10));
            }
            if (!t.notes.isEmpty()) {
                EXPECT_TRUE(notesShown) << what << ": the notes never show";
            }
            // Cut where the screen is too low for the whole text: a line
            // ends with an ellipsis where its paragraph stops.
            const bool cut = tip.IsCut();
            if (cut) {
                EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const CMyToolTipCtrl::tLine &line) {
                    return line.text.endsWith(QChar(0x2026));
                })) << what;
            }
            tip.SetContent(t.content);
            tip.ShowWithin(screen.topLeft(), QRect(0, 0, screen.width(), 100000));
            const bool whole = tip.height() <= screen.height();
            EXPECT_EQ(cut, !whole) << what;
        }
    }
    tip.hide();
}

TEST_F(DrawnControlsTest, TipPlacement)
{
    const QRect area(0, 0, 1600, 960);
    const QSize tip(200, 100);
    const struct
    {
        const char *name;
        QPoint cursor;
        int maxBottom;
        QPoint expected;
    } cases[] = {
        {"room below: under the cursor", {500, 300}, -1, {500, 320}},
        {"near the bottom: above the cursor", {500, 900}, -1, {500, 799}},
        {"near the bottom over a control: above the control", {500, 900}, 850, {500, 749}},
        {"control lower than the cursor: above the cursor", {500, 900}, 950, {500, 799}},
        {"near the right edge", {1500, 300}, -1, {1398, 320}},
        {"bottom right corner: left of the cursor", {1500, 900}, -1, {1299, 799}},
        {"a cursor at the top with a control above it stays on screen", {500, 950}, 40, {500, 0}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CTrayToolTip::Placement(tip, c.cursor, 20, area, c.maxBottom), c.expected) << c.name;
}

// The room a tip is laid out for beside the pointer (20 pixels tall): the
// larger of the spaces below it and above it, above a line it must end
// above (the top of its control) when that line is higher than the pointer.
TEST_F(DrawnControlsTest, TipRoom)
{
    const QRect screen(0, 0, 800, 600);
    const struct
    {
        const char *name;
        QRect area;
        QPoint cursor;
        int maxBottom;
        int height;
    } cases[] = {
        {"no line to end above: the room above the pointer", screen, {400, 500}, -1, 499},
        {"a line at 300: the room above it", screen, {400, 500}, 300, 299},
        {"a line below the pointer: the pointer bounds it", screen, {400, 500}, 550, 499},
        {"near the top: the room below the pointer", screen, {400, 100}, -1, 477},
        {"a panel over the work area's top", QRect(0, 30, 800, 570), {400, 500}, -1, 469},
    };
    for (const auto &c : cases) {
        const QSize room = CTrayToolTip::Room(c.cursor, 20, c.area, c.maxBottom);
        EXPECT_EQ(room.height(), c.height) << c.name;
        EXPECT_EQ(room.width(), c.area.width()) << c.name;
    }
}

// Where the room beside the pointer is less than a line, the tip is cut to
// it and lies beside the pointer, never over it: the pointer would leave
// the window the tip tells of for the tip, which hides it.
TEST_F(DrawnControlsTest, ATipWithLessThanALineOfRoomLiesBesideThePointer)
{
    tTacheFull task = entry(at(17, 0), at(17, 30), 32);
    task.Title = u"Réunion de lancement"_s;
    const tToolTipContent content = CTrayToolTip::EntryContent(task, now, texts, store);
    // The control a tip ends above when it must move up: its top at 10.
    QWidget control;
    control.setGeometry(0, 10, 200, 20);
    control.show();
    // The room beside the pointer: above it (above the control's top, 9,
    // where there is one) or below it, whichever is larger.
    const struct
    {
        const char *name;
        QRect area;
        QPoint cursor;
        bool keepAbove;
        int room;
    } cases[] = {
        {"a low work area, the pointer in its middle", QRect(0, 0, 800, 60), {400, 20}, false, 19},
        {"a lower one, the pointer near its top", QRect(0, 0, 800, 40), {10, 10}, false, 9},
        {"at the bottom, under a control at the top", QRect(0, 0, 800, 600), {400, 585}, true, 8},
    };
    for (const auto &c : cases) {
        CTrayToolTip tip(true);
        tip.KeepAbove(c.keepAbove ? &control : nullptr);
        tip.SetContent(content);
        ASSERT_LT(c.room, QFontMetrics(tip.font()).height() + 2 * CMyToolTipCtrl::Margin) << c.name;
        tip.ShowWithin(c.cursor, c.area);
        const QRect pointer(c.cursor, QSize(1, 20));
        EXPECT_FALSE(tip.geometry().intersects(pointer)) << c.name << ": the tip lies over the pointer";
        EXPECT_TRUE(c.area.contains(tip.geometry())) << c.name;
        EXPECT_LE(tip.height(), c.room) << c.name;
        EXPECT_TRUE(tip.IsCut()) << c.name;
    }
}
