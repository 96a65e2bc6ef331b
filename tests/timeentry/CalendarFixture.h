#pragma once
// What the tests of the calendar windows share: a user database of the
// test's own behind the real day cache, a project store and settings
// registered as the program registers them, a fixed clock, and a host that
// records what the windows ask of the application and answers the entry
// dialogs and the overlap question from queues.
#include "CAnnulation.h"
#include "CAppData.h"
#include "CBdD.h"
#include "CChildFrame.h"
#include "CConfiguration.h"
#include "CDataChangedNotifier.h"
#include "CDayCache.h"
#include "CProjectStore.h"
#include "CTimeEntryHost.h"
#include "CWeekCtrl.h"
#include "Clock.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestFolders.h"
#include "tElement.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QMdiArea>
#include <QMouseEvent>
#include <QTest>
#include <QTime>

#include <deque>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

inline void PrintTo(const QDate &d, std::ostream *os)
{
    *os << d.toString(Qt::ISODate).toStdString();
}

// A local instant.
inline qint64 at(const QDate &day, int h, int m, int s = 0)
{
    return QDateTime(day, QTime(h, m, s)).toSecsSinceEpoch();
}

class RecordingHost : public CTimeEntryHost
{
public:
    QDate CurrentDate() const override { return current; }
    void SetCurrentDate(const QDate &date, bool reload) override
    {
        current = date;
        datesSet.push_back(date);
        if (reload && onReload)
            onReload();
    }
    int RunningEntryId() const override { return runningId; }
    qint64 RunningEntryStart() const override { return runningStart; }
    CDayCache &DayCache() override { return cache; }
    int SelectedEntryId() const override { return selectedId; }
    void SetSelectedEntryId(int id) override { selectedId = id; }
    void RefreshViews() override
    {
        ++refreshes;
        if (onReload)
            onReload();
    }
    void ShowDayView() override { ++dayViews; }
    void ShowStatusText(const QString &text) override { statusTexts.push_back(text); }
    bool OpenEntryDialog(tTacheFull &entry, int mode) override
    {
        dialogs.push_back({entry, mode});
        if (dialogAnswers.empty())
            return false;
        const auto answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        return answer ? answer(entry) : false;
    }
    int ChooseOverlapResolution(const std::vector<tTacheFull> &entries) override
    {
        overlapQuestions.push_back(entries);
        if (overlapAnswers.empty())
            return Cancelled;
        const int answer = overlapAnswers.front();
        overlapAnswers.pop_front();
        return answer;
    }
    void StartTask(const tTacheFull &entry, int favoriteId) override { started.push_back({entry, favoriteId}); }
    void PauseTask() override { ++pauses; }

    struct Dialog
    {
        tTacheFull entry;
        int mode = 0;
    };
    struct Start
    {
        tTacheFull entry;
        int favoriteId = -1;
    };

    QDate current{2026, 3, 25};
    int runningId = -1;
    qint64 runningStart = 0;
    int selectedId = -1;
    CDayCache cache;
    // Run when a view should reload (a refresh, a date set with reload).
    std::function<void()> onReload;

    std::vector<QDate> datesSet;
    int refreshes = 0;
    int dayViews = 0;
    int pauses = 0;
    std::vector<QString> statusTexts;
    std::vector<Dialog> dialogs;
    // Each dialog takes the next answer: a function that may store the
    // entry and returns OK; none left answers Cancel.
    std::deque<std::function<bool(tTacheFull &)>> dialogAnswers;
    std::vector<std::vector<tTacheFull>> overlapQuestions;
    std::deque<int> overlapAnswers;
    std::vector<Start> started;
};

class CalendarFixture : public ::testing::Test
{
protected:
    // The week of the spring clock change: Monday 23 to Sunday 29 March
    // 2026; the current date is Wednesday 25, today Thursday 26 (10:00).
    static inline const QDate Monday{2026, 3, 23};
    static inline const QDate Today{2026, 3, 26};

    void SetUp() override
    {
        Platform::Clock::setFixedNow(at(Today, 10, 0));
        path = TestFolders::tempDb(QStringLiteral("Zarvo.sdb"));
        CAppData::SetAnnulation(&history);
        CAppData::SetCurrentDatabasePath(path);
        CAppData::SetProjectStore(&store);
        config.firstDayOfWeek = 2; // Monday
        config.snapToGrid = false;
        config.grid = 15;
        config.workingDays.Clear();
        config.workingDays.AddPeriod(0, 9 * 60, 12 * 60);
        config.workingDays.AddPeriod(0, 14 * 60, 18 * 60);
        config.workingDays.UpdateTotals();
        config.daysOff.SetRange(Monday.addDays(4), Monday.addDays(4), false); // Friday 27
        CAppData::SetConfiguration(&config);
        CBdD db; // the file made with its schema
        ASSERT_TRUE(db.IsOpen());
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        Platform::Clock::reset();
    }

    // Records made as the program makes them; their ids.
    int saveProject(const QString &name, quint32 colour)
    {
        tElement e;
        e.Nom = name;
        e.Color = colour;
        CBdD db;
        EXPECT_TRUE(db.SaveProject(&e, nullptr));
        reloadStore();
        return e.Id;
    }
    int saveActivity(const QString &name, quint32 colour)
    {
        tElement e;
        e.Nom = name;
        e.Color = colour;
        CBdD db;
        EXPECT_TRUE(db.SaveActivity(e));
        reloadStore();
        return e.Id;
    }
    static void reloadStore()
    {
        CBdD db;
        db.LoadActivities(nullptr, nullptr, true, QString());
        db.LoadProjects(-1, nullptr);
    }
    // A finished entry (or a running one with `end` 0); its id.
    static int saveEntry(qint64 start, qint64 end, int project = -1, int activity = -1,
                         const QString &title = QString(), const QString &notes = QString())
    {
        tTacheFull e;
        e.Debut = start;
        e.Fin = end;
        e.IdProjet = project;
        e.IdActivite = activity;
        e.Title = title;
        e.Notes = notes;
        CBdD db;
        EXPECT_TRUE(db.SaveTimeEntry(e));
        SQLite::MyTablePtr t = db.Query(
            QStringLiteral("select max(Id) from Taches where Deleted=0 and Debut=%1").arg(start));
        return t.hasRows() ? t->GetCell(0, 0).toInt() : -1;
    }
    static bool readEntry(int id, tTacheFull &entry)
    {
        CBdD db;
        return db.GetTimeEntry(id, entry);
    }
    static int liveEntryCount()
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(QStringLiteral("select count(*) from Taches where Deleted=0"));
        return t.hasRows() ? t->GetCell(0, 0).toInt() : -1;
    }

    // A pixel of a picture as 0x00BBGGRR.
    static quint32 pixel(const QImage &image, int x, int y)
    {
        const QColor c = image.pixelColor(x, y);
        return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
    }

    QString path;
    CAnnulation history;
    CProjectStore store;
    CConfiguration config;
    RecordingHost host;
};

// The calendar window in a document area of its own, as the main frame
// holds it.
class CalendarWindowFixture : public CalendarFixture
{
protected:
    void TearDown() override
    {
        area.reset();
        CalendarFixture::TearDown();
    }

    // Opens the window; the week view's client is made `client` when one
    // is given. A stored change reloads the shown view, as the main frame
    // has it done.
    void open(const QSize &client = QSize())
    {
        area = std::make_unique<QMdiArea>();
        frame = new CChildFrame(host);
        area->addSubWindow(frame);
        frame->showMaximized();
        area->resize(1000, 700);
        area->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(area.get()));
        if (client.isValid()) {
            area->resize(area->size() + client - view().viewport()->size());
            QCoreApplication::processEvents();
            ASSERT_EQ(view().viewport()->size(), client);
        }
        host.onReload = [this] { frame->ReloadShownView(); };
        QObject::connect(&CAppData::DataChangedNotifier(), &CDataChangedNotifier::dataChanged, frame,
                         [this] { frame->ReloadShownView(); });
        frame->ReloadShownView();
        QCoreApplication::processEvents();
    }
    CWeekCtrl &view() { return *frame->Week(); }
    QWidget *vp() { return view().viewport(); }

    // The view type and the week view's zoom and scroll position the
    // window opens with (by default the week at 60 pixels an hour, 6:00 at
    // the header's bottom).
    static void storeViews(int viewType = 2, int zoom = 5, int position = 72)
    {
        Platform::Settings settings;
        settings.setInt(u"Misc", u"", u"View", viewType);
        settings.setInt(u"Calendar", u"", u"Zoom", zoom);
        settings.setInt(u"Calendar", u"", u"Position", position);
    }

    // A mouse event sent to `to` (the week view's client by default).
    void mouse(QEvent::Type type, const QPoint &p, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers mods = Qt::NoModifier, QWidget *to = nullptr)
    {
        QWidget *target = to ? to : vp();
        QMouseEvent event(type, p, target->mapToGlobal(p), button, held, mods);
        QCoreApplication::sendEvent(target, &event);
    }

    std::unique_ptr<QMdiArea> area;
    CChildFrame *frame = nullptr;
};
