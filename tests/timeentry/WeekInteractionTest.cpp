// The week view driven with the mouse and keys for real, offscreen, in its
// calendar window on a database of the test's own; the dialogs answered by
// the host's queues, the rows read back.
#include "CChildFrame.h"
#include "CDataChangedNotifier.h"
#include "CMyToolTipCtrl.h"
#include "CWeekCtrl.h"
#include "CalendarFixture.h"
#include "LocalTime.h"
#include "LongTipChecks.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "Settings.h"
#include "Texts.h"
#include "WeekPointer.h"
#include "tEntryBoxTexts.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <sqlite3.h>

#include <memory>

namespace {

constexpr int Width = 1000;
constexpr int Height = 700;

class WeekInteractionTest : public CalendarWindowFixture
{
protected:
    void SetUp() override
    {
        CalendarWindowFixture::SetUp();
        storeViews();
    }

    void show(int width = Width, int height = Height)
    {
        open(QSize(width, height));
        vp()->grab(); // laid out
    }

    // Column i's left edge, and the client point of a time of day there
    // (6:00 at the header's bottom, 60 pixels an hour).
    static int left(int i) { return 65 + i * 133; }
    static QPoint point(int day, int h, int m = 0, int dx = 66) { return {left(day) + dx, 40 + (h - 6) * 60 + m}; }
    // The time the view finds under a point.
    qint64 timeAt(const QPoint &p) { return TimeAt(p, view().ShownDays().Days(), view().Geometry(), Width).time; }

    void move(const QPoint &p, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        mouse(QEvent::MouseMove, p, Qt::NoButton, buttons, mods);
    }
    void press(const QPoint &p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        buttons |= button;
        mouse(QEvent::MouseButtonPress, p, button, buttons, mods);
    }
    void release(const QPoint &p, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        buttons &= ~button;
        mouse(QEvent::MouseButtonRelease, p, button, buttons, mods);
    }
    // Hover, press, move in steps, release.
    void drag(const QPoint &from, const QPoint &to, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        vp()->grab(); // what is shown is laid out, as before any real move
        move(from, mods);
        press(from, Qt::LeftButton, mods);
        const QPoint step = (to - from) / 4;
        for (int i = 1; i < 4; ++i)
            move(from + step * i, mods);
        move(to, mods);
        release(to, Qt::LeftButton, mods);
    }

    tTacheFull entry(int id)
    {
        tTacheFull e;
        EXPECT_TRUE(readEntry(id, e)) << id;
        return e;
    }

    Qt::MouseButtons buttons;
};

// Counts the statements run on a connection while it lives.
class StatementCounter
{
public:
    explicit StatementCounter(sqlite3 *db) : m_db(db)
    {
        sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT, &StatementCounter::count, this);
    }
    ~StatementCounter() { sqlite3_trace_v2(m_db, 0, nullptr, nullptr); }
    int statements = 0;

private:
    static int count(unsigned, void *self, void *, void *)
    {
        ++static_cast<StatementCounter *>(self)->statements;
        return 0;
    }
    sqlite3 *m_db;
};

} // namespace

TEST_F(WeekInteractionTest, DragsDrawMoveResizeAndCopy)
{
    config.snapToGrid = true; // on the quarter hours
    const QDate tue = Monday.addDays(1);
    const int moved = saveEntry(at(tue, 9, 0), at(tue, 10, 0));
    const int resized = saveEntry(at(Monday.addDays(2), 10, 0), at(Monday.addDays(2), 11, 0));
    const int copied = saveEntry(at(Monday.addDays(5), 8, 0), at(Monday.addDays(5), 9, 30), -1, -1,
                                 QStringLiteral("Revue"));
    show();

    // Drawn on empty grid space: the entry dialog gets the times.
    drag(point(0, 9), point(0, 10, 30));
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0].mode, CTimeEntryHost::EditEntry);
    EXPECT_EQ(host.dialogs[0].entry.Id, -1);
    EXPECT_EQ(host.dialogs[0].entry.Debut, at(Monday, 9, 0));
    EXPECT_EQ(host.dialogs[0].entry.Fin, at(Monday, 10, 30));

    // Moved two hours down from its middle.
    drag(point(1, 9, 30), point(1, 11, 30));
    EXPECT_EQ(entry(moved).Debut, at(tue, 11, 0));
    EXPECT_EQ(entry(moved).Fin, at(tue, 12, 0));
    EXPECT_EQ(host.current, tue) << "the pointer's day is the current date";

    // Its end dragged into the next column, its start into the previous.
    drag(point(2, 11, -3), point(3, 12));
    EXPECT_EQ(entry(resized).Debut, at(Monday.addDays(2), 10, 0));
    EXPECT_EQ(entry(resized).Fin, at(Monday.addDays(3), 12, 0));
    drag(point(2, 10, 3), point(1, 13, 3));
    EXPECT_EQ(entry(resized).Debut, at(tue, 13, 0));

    // Ctrl turns the move into a copy: a new row, the source untouched.
    const int before = liveEntryCount();
    const QPoint from = point(5, 8, 30);
    move(from);
    press(from);
    move(from + QPoint(0, 10));
    QTest::keyPress(&view(), Qt::Key_Control);
    EXPECT_EQ(view().CurrentDragState(), DragState::Copy);
    move(point(5, 13, 30), Qt::ControlModifier);
    release(point(5, 13, 30), Qt::LeftButton, Qt::ControlModifier);
    QTest::keyRelease(&view(), Qt::Key_Control);
    EXPECT_EQ(liveEntryCount(), before + 1);
    EXPECT_EQ(entry(copied).Debut, at(Monday.addDays(5), 8, 0));
    CBdD db;
    SQLite::MyTablePtr copy = db.Query(QStringLiteral("select Debut, Fin, Title from Taches where Deleted=0 and Id<>%1 "
                                                      "and Title='Revue'")
                                           .arg(copied));
    ASSERT_TRUE(copy.hasRows());
    EXPECT_EQ(copy->GetCell(0, 0).toLongLong(), at(Monday.addDays(5), 13, 0));
    EXPECT_EQ(copy->GetCell(0, 1).toLongLong(), at(Monday.addDays(5), 14, 30));
}

TEST_F(WeekInteractionTest, AMoveAcrossMidnightKeepsTheDuration)
{
    Platform::Settings().setInt(u"Calendar", u"", u"Zoom", 0); // the day fits the client
    const QDate tue = Monday.addDays(1);
    const int id = saveEntry(at(tue, 21, 0), at(tue, 22, 30));
    show();
    const CWeekGeometry &g = view().Geometry();
    ASSERT_FALSE(g.canZoomOut);
    const QPoint from(left(1) + 60, g.headerHeight + 21 * g.hourHeight + g.hourHeight / 2);
    const QPoint to(left(2) + 60, g.headerHeight + g.hourHeight);
    const qint64 travel = timeAt(to) - timeAt(from);
    drag(from, to);
    EXPECT_EQ(entry(id).Debut, at(tue, 21, 0) + travel);
    EXPECT_EQ(entry(id).Fin - entry(id).Debut, 90 * 60);
    EXPECT_EQ(Platform::LocalTime::localDate(entry(id).Fin), Monday.addDays(2));
}

TEST_F(WeekInteractionTest, ARunningEntryOffersOnlyItsStart)
{
    // Running since 9:00 today; now is 10:00.
    const int id = saveEntry(at(Today, 9, 0), 0);
    host.runningId = id;
    host.runningStart = at(Today, 9, 0);
    show();
    const int today = 3;

    // Its middle cannot be moved.
    move(point(today, 9, 30));
    EXPECT_EQ(view().CurrentDragState(), DragState::None);
    drag(point(today, 9, 30), point(today, 11));
    EXPECT_EQ(entry(id).Debut, at(Today, 9, 0));

    // Its start moves, never past now, and it keeps running.
    move(point(today, 9, 2));
    EXPECT_EQ(view().CurrentDragState(), DragState::ResizeStart);
    drag(point(today, 9, 2), point(today, 8, 47));
    EXPECT_EQ(entry(id).Debut, at(Today, 8, 45));
    EXPECT_EQ(entry(id).Fin, 0);
    drag(point(today, 8, 47), point(today, 12, 0));
    EXPECT_EQ(entry(id).Debut, at(Today, 10, 0));
    EXPECT_EQ(entry(id).Fin, 0);
}

TEST_F(WeekInteractionTest, AClickOrADrawingOfNoLengthChangesNothing)
{
    const int id = saveEntry(at(Monday, 9, 0), at(Monday, 10, 0));
    show();
    // A click on an entry selects it, and writes nothing.
    drag(point(0, 9, 30), point(0, 9, 31));
    EXPECT_EQ(host.selectedId, id);
    EXPECT_EQ(entry(id).Debut, at(Monday, 9, 0));
    EXPECT_TRUE(host.dialogs.empty());
    // A press and release on empty space.
    drag(point(1, 14), point(1, 14));
    EXPECT_TRUE(host.dialogs.empty());
    EXPECT_EQ(host.selectedId, -1);
    EXPECT_EQ(liveEntryCount(), 1);
    // Escape ends a move without a change.
    move(point(0, 9, 30));
    press(point(0, 9, 30));
    move(point(0, 12));
    EXPECT_TRUE(view().IsDragActive());
    QTest::keyPress(&view(), Qt::Key_Escape);
    EXPECT_FALSE(view().IsDragActive());
    release(point(0, 12));
    EXPECT_EQ(entry(id).Debut, at(Monday, 9, 0));
}

TEST_F(WeekInteractionTest, OverlapsAreAskedAndAnsweredOrCancelled)
{
    const QDate tue = Monday.addDays(1);
    struct Case
    {
        const char *what;
        int answer;
        qint64 otherEnd;           // of the entry overlapped
        qint64 movedStart, movedEnd; // of the entry moved onto it
    };
    const Case cases[] = {
        {"the others give way", CTimeEntryHost::OthersGiveWay, at(tue, 9, 30), at(tue, 9, 30), at(tue, 10, 30)},
        {"the entry moves into free time", CTimeEntryHost::FitIntoFreeTime, at(tue, 10, 0), at(tue, 10, 0),
         at(tue, 10, 30)},
        {"cancelled", CTimeEntryHost::Cancelled, at(tue, 10, 0), at(tue, 11, 0), at(tue, 12, 0)},
    };
    show();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CBdD().Execute(QStringLiteral("delete from Taches"));
        const int other = saveEntry(at(tue, 9, 0), at(tue, 10, 0));
        const int moved = saveEntry(at(tue, 11, 0), at(tue, 12, 0));
        frame->ReloadShownView();
        vp()->grab();
        host.overlapQuestions.clear();
        host.overlapAnswers = {c.answer};
        drag(point(1, 11, 30), point(1, 10));
        ASSERT_EQ(host.overlapQuestions.size(), 1u);
        ASSERT_EQ(host.overlapQuestions[0].size(), 2u);
        EXPECT_EQ(host.overlapQuestions[0][0].Id, moved);
        EXPECT_EQ(host.overlapQuestions[0][0].Debut, at(tue, 9, 30));
        EXPECT_EQ(host.overlapQuestions[0][1].Id, other);
        EXPECT_EQ(entry(other).Fin, c.otherEnd);
        EXPECT_EQ(entry(moved).Debut, c.movedStart);
        EXPECT_EQ(entry(moved).Fin, c.movedEnd);
    }
}

TEST_F(WeekInteractionTest, AWriteThatCannotLandIsToldAndTheBoxStaysWhereItWas)
{
    const int id = saveEntry(at(Monday, 9, 0), at(Monday, 10, 0));
    show();
    MessageBoxAnswers answers;
    answers.Push(MessageBoxAnswer::Ok);
    {
        // The file reads but takes no write while this connection is open
        // (the views borrow it).
        CBdD readOnly;
        readOnly.Execute(QStringLiteral("PRAGMA query_only = 1"));
        drag(point(0, 9, 30), point(0, 13, 30));
    }
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);
    EXPECT_EQ(answers.AskedBoxes()[0].text, Platform::Texts::get(226));
    EXPECT_EQ(answers.AskedBoxes()[0].caption, Platform::Texts::get(173));
    EXPECT_EQ(entry(id).Debut, at(Monday, 9, 0));
    move(point(6, 20));
    const QImage image = vp()->grab().toImage();
    // The entry stays selected where it was; Monday became the current date.
    EXPECT_EQ(pixel(image, left(0) + 120, point(0, 9, 50).y()), 0x45C7F0u) << "still at 9:00";
    EXPECT_EQ(pixel(image, left(0) + 120, point(0, 13, 50).y()), 0x93E0F7u) << "nothing at 13:00";
}

TEST_F(WeekInteractionTest, AnEntryDeletedMeanwhileIsNotWrittenAgain)
{
    const int id = saveEntry(at(Monday, 9, 0), at(Monday, 10, 0));
    show();
    move(point(0, 9, 30));
    press(point(0, 9, 30));
    move(point(0, 11));
    CBdD().Execute(QStringLiteral("update Taches set Deleted=1 where Id=%1").arg(id));
    release(point(0, 11));
    CBdD db;
    SQLite::MyTablePtr t = db.Query(QStringLiteral("select Debut, Deleted from Taches where Id=%1").arg(id));
    ASSERT_TRUE(t.hasRows());
    EXPECT_EQ(t->GetCell(0, 0).toLongLong(), at(Monday, 9, 0));
    EXPECT_EQ(t->GetCell(0, 1), QStringLiteral("1"));
    EXPECT_EQ(view().CurrentEntry().Id, -1);
}

TEST_F(WeekInteractionTest, ADragRunsNoStatementAndKeepsTheCachedImage)
{
    const int id = saveEntry(at(Monday, 9, 0), at(Monday, 10, 0));
    show();
    CBdD db;
    ASSERT_TRUE(db.IsOpen());
    StatementCounter counter(db.Connection()->Handle());
    // Hovering shows the grips without drawing the grid again.
    vp()->grab();
    const int drawn = view().RedrawCount();
    for (int i = 0; i < 10; ++i)
        move(point(0, 9, 20 + i));
    vp()->grab();
    EXPECT_EQ(view().RedrawCount(), drawn);
    // The press selects the entry: drawn once more, then not while it is
    // dragged.
    press(point(0, 9, 30));
    vp()->grab();
    EXPECT_EQ(view().RedrawCount(), drawn + 1);
    for (int i = 0; i < 50; ++i) {
        move(point(0, 9, 30) + QPoint(i % 40, 3 + 2 * i));
        vp()->grab();
    }
    EXPECT_TRUE(view().IsDragActive());
    EXPECT_EQ(view().RedrawCount(), drawn + 1);
    EXPECT_EQ(counter.statements, 0);
    QTest::keyPress(&view(), Qt::Key_Escape);
    release(point(0, 12));
    EXPECT_EQ(entry(id).Debut, at(Monday, 9, 0));
}

TEST_F(WeekInteractionTest, HeldDragsScrollTheHoursAndStepTheDays)
{
    saveEntry(at(Monday, 9, 0), at(Monday, 10, 0));
    show();
    const int last = view().Geometry().MaxScrollPos();
    move(point(0, 9, 30));
    press(point(0, 9, 30));
    move(QPoint(left(0) + 60, Height - 5)); // the bottom band
    EXPECT_TRUE(view().IsScrollingHours());
    int ticks = 0;
    while (view().IsScrollingHours() && ticks < 1000) {
        view().OnTimer(CWeekCtrl::ScrollTimerId);
        ++ticks;
    }
    EXPECT_EQ(view().Geometry().scrollPos, last);
    EXPECT_EQ(ticks, last - 72 + 1) << "one unit a tick, then it stops at the limit";

    // Over the arrow of the next day: a day at once, one a tick.
    const QDate first = view().ShownDays().First();
    const QPoint arrow = view().NextArrowRect().center();
    move(arrow);
    EXPECT_TRUE(view().IsSteppingDays());
    EXPECT_EQ(view().ShownDays().First(), first.addDays(1));
    view().OnTimer(CWeekCtrl::DayTimerId);
    view().OnTimer(CWeekCtrl::DayTimerId);
    EXPECT_EQ(view().ShownDays().First(), first.addDays(3));
    // Back in the middle stepping stops; the release stops everything.
    move(QPoint(left(3), Height / 2));
    EXPECT_FALSE(view().IsSteppingDays());
    move(arrow);
    EXPECT_TRUE(view().IsSteppingDays());
    release(arrow);
    EXPECT_FALSE(view().IsSteppingDays());
    EXPECT_FALSE(view().IsDragActive());

    // The top band scrolls back up; the focus going elsewhere ends it.
    move(QPoint(left(2), 300));
    press(QPoint(left(2), 300));
    move(QPoint(left(2), 50));
    EXPECT_TRUE(view().IsScrollingHours());
    view().OnTimer(CWeekCtrl::ScrollTimerId);
    EXPECT_EQ(view().Geometry().scrollPos, last - 1);
    QLineEdit elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    elsewhere.setFocus();
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&view(), &out);
    EXPECT_FALSE(view().IsScrollingHours());
    EXPECT_FALSE(view().IsDragActive());
    release(QPoint(left(2), 50));
    EXPECT_EQ(liveEntryCount(), 1);
}

TEST_F(WeekInteractionTest, TheSpringNightStoresValidInstants)
{
    // The spring Sunday, scrolled to midnight.
    Platform::Settings().setInt(u"Calendar", u"", u"Position", 0);
    const QDate spring = Monday.addDays(6);
    const int id = saveEntry(at(spring, 0, 30), at(spring, 1, 0));
    show();
    const auto rowOf = [](int h, int m) { return 40 + h * 60 + m; };
    const QPoint from(left(6) + 60, rowOf(0, 45));
    const QPoint to(left(6) + 60, rowOf(2, 45)); // in the hour the clocks skip
    drag(from, to);
    const tTacheFull e = entry(id);
    EXPECT_EQ(timeAt(to), at(spring, 3, 0)) << "the first instant after the change";
    EXPECT_EQ(e.Debut, at(spring, 3, 0)) << "02:30 does not exist: the first instant after the change";
    EXPECT_EQ(e.Fin - e.Debut, 30 * 60);

    // A new entry drawn through the skipped hour.
    drag(QPoint(left(6) + 60, rowOf(1, 20)), QPoint(left(6) + 60, rowOf(2, 30)));
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0].entry.Debut, at(spring, 1, 20));
    EXPECT_EQ(host.dialogs[0].entry.Fin, at(spring, 3, 0));
}

TEST_F(WeekInteractionTest, OnTheAutumnNightAnEntryLandsWhereItIsDropped)
{
    // Sunday 25 October 2026: 03:00 CEST becomes 02:00 CET at 01:00 UTC,
    // so 02:00 to 03:00 passes twice. Scrolled to midnight, 60 px an hour.
    Platform::Settings().setInt(u"Calendar", u"", u"Position", 0);
    const QDate autumn(2026, 10, 25);
    host.current = autumn;
    show();
    const auto utc = [&autumn](int h, int m) { return QDateTime(autumn, QTime(h, m), Qt::UTC).toSecsSinceEpoch(); };
    const auto rowOf = [](int h, int m) { return QPoint(left(6) + 60, 40 + h * 60 + m); };
    struct Case
    {
        const char *what;
        qint64 start, end;
        QPoint from, to;
        Qt::KeyboardModifiers keys;
        qint64 landedStart, landedEnd;
    };
    const qint64 firstPass = utc(0, 10);  // 02:10 CEST
    const qint64 secondPass = utc(1, 10); // 02:10 CET
    const Case cases[] = {
        {"first pass, two rows up", firstPass, firstPass + 3600, rowOf(2, 20), rowOf(0, 20), {},
         at(autumn, 0, 10), at(autumn, 0, 10) + 3600},
        {"second pass, two rows up", secondPass, secondPass + 3600, rowOf(2, 20), rowOf(0, 20), {},
         at(autumn, 0, 10), at(autumn, 0, 10) + 3600},
        {"first pass, two rows down", firstPass, firstPass + 3600, rowOf(2, 20), rowOf(4, 20), {},
         at(autumn, 4, 10), at(autumn, 4, 10) + 3600},
        {"second pass, two rows down", secondPass, secondPass + 3600, rowOf(2, 20), rowOf(4, 20), {},
         at(autumn, 4, 10), at(autumn, 4, 10) + 3600},
        {"first pass, within the hour", firstPass, firstPass + 3600, rowOf(2, 20), rowOf(2, 40), {}, utc(0, 30),
         utc(1, 30)},
        {"second pass, within the hour", secondPass, secondPass + 3600, rowOf(2, 20), rowOf(2, 40), {},
         utc(1, 30), utc(2, 30)},
        {"a copy of the first pass, two rows up", firstPass, firstPass + 3600, rowOf(2, 20), rowOf(0, 20),
         Qt::ControlModifier, at(autumn, 0, 10), at(autumn, 0, 10) + 3600},
        {"the end of the first pass, one row down", utc(0, 0), utc(0, 30), rowOf(2, 25), rowOf(3, 25), {},
         utc(0, 0), at(autumn, 3, 30)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(CBdD().Execute(u"delete from Taches"), 0);
        const int id = saveEntry(c.start, c.end);
        drag(c.from, c.to, c.keys);
        EXPECT_TRUE(host.overlapQuestions.empty());
        SQLite::MyTablePtr rows = CBdD().Query(u"select Id, Debut, Fin from Taches where Deleted=0 order by Id");
        ASSERT_TRUE(rows.hasRows());
        const int landed = rows->rowCount() - 1;
        if (c.keys.testFlag(Qt::ControlModifier)) {
            ASSERT_EQ(rows->rowCount(), 2) << "a copy beside the entry";
            EXPECT_EQ(entry(id).Debut, c.start);
        } else {
            ASSERT_EQ(rows->rowCount(), 1);
        }
        EXPECT_EQ(rows->GetCell(landed, 1).toLongLong(), c.landedStart);
        EXPECT_EQ(rows->GetCell(landed, 2).toLongLong(), c.landedEnd);
    }
}

TEST_F(WeekInteractionTest, ZoomButtonsAndTheWheel)
{
    Platform::Settings().setInt(u"Calendar", u"", u"Zoom", 0);
    show(Width, 1300);
    // At zoom 0 the day fits: zooming out does nothing; zooming in skips
    // the levels at which it still fits (up to 50 pixels an hour).
    EXPECT_FALSE(view().Geometry().canZoomOut);
    press(QPoint(10, 10));
    release(QPoint(10, 10));
    EXPECT_EQ(view().Geometry().zoomLevel, 0);
    press(QPoint(40, 10));
    release(QPoint(40, 10));
    EXPECT_EQ(view().Geometry().zoomLevel, 5);
    EXPECT_TRUE(view().Geometry().canZoomOut);
    press(QPoint(10, 10));
    release(QPoint(10, 10));
    EXPECT_EQ(view().Geometry().zoomLevel, 4);
    EXPECT_FALSE(view().Geometry().canZoomOut);
    press(QPoint(40, 10));
    release(QPoint(40, 10));
    ASSERT_EQ(view().Geometry().zoomLevel, 5);
    ASSERT_EQ(view().Geometry().MaxScrollPos(), 36);

    // A wheel notch of any size scrolls 12 units.
    const int pos = view().Geometry().scrollPos;
    for (int delta : {1, 120, 960}) {
        QWheelEvent down(QPointF(300, 300), vp()->mapToGlobal(QPointF(300, 300)), QPoint(), QPoint(0, -delta),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(vp(), &down);
    }
    EXPECT_EQ(view().Geometry().scrollPos, pos + 36);
    QWheelEvent up(QPointF(300, 300), vp()->mapToGlobal(QPointF(300, 300)), QPoint(), QPoint(0, 1), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(vp(), &up);
    EXPECT_EQ(view().Geometry().scrollPos, pos + 24);
    EXPECT_EQ(view().verticalScrollBar()->value(), pos + 24);

    // The right button pans, one unit for 5 pixels, and a column's width
    // steps a day.
    const QDate first = view().ShownDays().First();
    press(QPoint(500, 600), Qt::RightButton);
    move(QPoint(500, 550));
    EXPECT_EQ(view().Geometry().scrollPos, pos + 34);
    move(QPoint(500 - 133, 550));
    EXPECT_EQ(view().ShownDays().First(), first.addDays(1));
    release(QPoint(500 - 133, 550), Qt::RightButton);
}

TEST_F(WeekInteractionTest, DoubleClicksOpenTheDialogOrTheDay)
{
    const int id = saveEntry(at(Monday, 9, 0), at(Monday, 10, 0));
    show();
    host.dialogAnswers = {[](tTacheFull &) { return true; }, [](tTacheFull &) { return false; }};
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, point(0, 9, 30));
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_EQ(host.dialogs[0].entry.Id, id);
    EXPECT_EQ(host.refreshes, 1);
    // On empty space: a new entry at the time under the pointer, running
    // on today's column, an hour long on a day before.
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, point(3, 14, 7));
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, point(2, 14, 7));
    ASSERT_EQ(host.dialogs.size(), 3u);
    EXPECT_EQ(host.dialogs[1].entry.Id, -1);
    EXPECT_EQ(host.dialogs[1].entry.Debut, at(Today, 14, 7));
    EXPECT_EQ(host.dialogs[1].entry.Fin, 0);
    EXPECT_EQ(host.dialogs[2].entry.Debut, at(Monday.addDays(2), 14, 7));
    EXPECT_EQ(host.dialogs[2].entry.Fin, at(Monday.addDays(2), 15, 7));
    EXPECT_EQ(host.refreshes, 1);
    // On the header: the day view.
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, QPoint(left(4) + 20, 10));
    EXPECT_EQ(host.dayViews, 1);
    // In the day view a double click does nothing.
    frame->SetViewType(CChildFrame::DayView);
    QTest::mouseDClick(vp(), Qt::LeftButton, Qt::NoModifier, point(0, 14));
    EXPECT_EQ(host.dialogs.size(), 3u);
}

TEST_F(WeekInteractionTest, TheToolTipFollowsWhatIsUnderThePointer)
{
    config.snapToGrid = true;
    const int project = saveProject(QStringLiteral("Alpha"), 0x0000FF);
    const int activity = saveActivity(QStringLiteral("Dev"), 0x00FF00);
    saveEntry(at(Monday, 9, 0), at(Monday, 10, 30), project, activity, QStringLiteral("Revue"),
              QStringLiteral("Salle 4"));
    show();
    const tEntryBoxTexts texts = tEntryBoxTexts::Load();

    move(point(0, 9, 40));
    EXPECT_EQ(view().ToolTip().label, QStringLiteral("Revue\n") + texts.project + QStringLiteral(" Alpha\n")
                                          + texts.activity + QStringLiteral(" Dev"));
    EXPECT_EQ(view().ToolTip().description,
              texts.start + u' ' + config.FormatDate(at(Monday, 9, 0), true, true) + u'\n' + texts.end + u' '
                  + config.FormatDate(at(Monday, 10, 30), true, true) + u'\n' + texts.duration + u' '
                  + config.FormatDuration(90 * 60) + QStringLiteral("\n\nSalle 4"));
    // On a grip: none.
    move(point(0, 9, 2));
    EXPECT_TRUE(view().ToolTip().label.isEmpty());
    // Empty grid: the snapped time there.
    move(point(1, 14, 8));
    EXPECT_EQ(view().ToolTip().label, config.FormatDate(at(Monday.addDays(1), 14, 15), true, true));
    EXPECT_TRUE(view().ToolTip().description.isEmpty());
    // The zoom buttons.
    move(QPoint(10, 10));
    EXPECT_EQ(view().ToolTip().label, QStringLiteral("Réduire"));
    EXPECT_EQ(view().ToolTip().description, QStringLiteral("Zoom moins"));
    move(QPoint(40, 10));
    EXPECT_EQ(view().ToolTip().label, QStringLiteral("Agrandir"));
    // The ruler: none.
    move(QPoint(20, 300));
    EXPECT_TRUE(view().ToolTip().label.isEmpty());
}

// An entry whose title and project name are 100 characters long and whose
// notes run to 39 lines, in the day view on a screen of 800 by 600: its tip
// shows (it never lies over the pointer, whose window would lose it at
// once), within the screen, with the title and project whole, then the
// times, then the notes cut at the bottom with an ellipsis. Another
// entry's tip shows as before.
TEST_F(WeekInteractionTest, ALongEntrysTipShowsItsNamesWholeAndCutsItsNotesOnASmallScreen)
{
    // The offscreen platform's screen, then one of 800 by 600.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect small(0, 0, 800, 600);
    const QString name = QStringLiteral("Programme de rénovation ").repeated(5).left(100);
    const QString title = QStringLiteral("Réunion de lancement avec le client ").repeated(3).left(100);
    QStringList notes;
    for (int i = 1; i <= 39; ++i)
        notes << QStringLiteral("Ligne %1 des notes : point abordé pendant la réunion").arg(i);
    const int project = saveProject(name, 0x0000FF);
    const int activity = saveActivity(QStringLiteral("Dev"), 0x00FF00);
    show(600, 400);
    frame->SetViewType(CChildFrame::DayView);
    const QDate day = view().ShownDays().Day(0).Date;
    saveEntry(at(day, 6, 30), at(day, 8, 0), project, activity, title, notes.join(u'\n'));
    saveEntry(at(day, 8, 30), at(day, 9, 0), project, activity, QStringLiteral("Court"), QStringLiteral("Une note"));
    frame->ReloadShownView();
    vp()->grab();
    auto *tip = view().findChild<CMyToolTipCtrl *>();
    ASSERT_NE(tip, nullptr);

    for (const QPoint &at : {point(0, 6, 45), point(0, 7, 50, 300)}) {
        SCOPED_TRACE(std::to_string(at.x()) + "," + std::to_string(at.y()));
        move(at);
        ASSERT_TRUE(view().ToolTip().label.startsWith(title)) << view().ToolTip().label.toStdString();
        const QPoint cursor = vp()->mapToGlobal(at);
        ASSERT_TRUE(small.contains(cursor));
        QHelpEvent help(QEvent::ToolTip, at, cursor);
        QCoreApplication::sendEvent(vp(), &help);
        EXPECT_TRUE(tip->Content().title.contains(name));
        const QStringList times = tip->Content().description.split(u'\n').mid(0, 3);
        ExpectNamesWholeAndNotesCut(*tip, cursor, screen, tip->Content().title, times, notes.first());
        tip->ShowWithin(cursor, small);
        ExpectNamesWholeAndNotesCut(*tip, cursor, small, tip->Content().title, times, notes.first());
        tip->hide();
    }

    const QPoint shortOne = point(0, 8, 45);
    move(shortOne);
    QHelpEvent help(QEvent::ToolTip, shortOne, vp()->mapToGlobal(shortOne));
    QCoreApplication::sendEvent(vp(), &help);
    EXPECT_TRUE(tip->isVisible());
    EXPECT_TRUE(tip->Content().title.startsWith(QStringLiteral("Court\n")));
    EXPECT_FALSE(tip->IsCut());
}
