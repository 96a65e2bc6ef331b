#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "ProjectToolTip.h"
#include "QStringPrinter.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

qint64 at(int y, int m, int d, int h, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min)).toSecsSinceEpoch();
}

// A project store with a settings object whose working week is Monday to
// Friday, 8-12 and 13-17, and a clock fixed on Monday 4 March 2024, 10:00.
class ProjectToolTipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config.workingDays.ParseDay(0, u"480,720;780,1020;");
        config.workingDays.UpdateTotals();
        CAppData::SetConfiguration(&config);
        CAppData::SetProjectStore(&store);
        Platform::Clock::setFixedNow(now);
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        Platform::Clock::reset();
    }

    // A project node with its forecast record changed by `edit`.
    CProject *add(int id, const QString &name, int parent, const std::function<void(tForecast &)> &edit = {})
    {
        tElement e;
        e.Id = id;
        e.Nom = name;
        e.Parent = parent;
        CProject *node = store.AddProject(e, parent == -1 ? nullptr : store.GetNode(parent), QString());
        tForecast f = node->Forecast();
        if (edit)
            edit(f);
        store.SetForecast(f);
        return node;
    }
    // Recorded entries of the node itself, from `first` to `last`.
    void tasks(int id, int count, qint64 first, qint64 last)
    {
        store.AddTaskStatistics(id, -2, count, last - first, first, last);
    }
    QString date(qint64 t) const { return config.FormatDate(t, true, true); }
    QString description(int id) const { return ProjectToolTipContent(*store.GetNode(id)).description; }

    const qint64 now = at(2024, 3, 4, 10);
    CConfiguration config;
    CProjectStore store;
};

void completed(tForecast &f)
{
    f.Status = tForecast::StatusCompleted;
}

} // namespace

TEST_F(ProjectToolTipTest, CompletedNodes)
{
    const qint64 first = at(2024, 2, 1, 9), last = at(2024, 2, 20, 17);
    add(1, QStringLiteral("Sans tâche"), -1, completed);
    add(2, QStringLiteral("Sans fin"), -1, completed);
    add(3, QStringLiteral("Fait"), -1, completed);
    tasks(3, 3, first, last);
    add(4, QStringLiteral("Parent"), -1, completed);
    add(5, QStringLiteral("Enfant"), 4);
    tasks(5, 1, first, last);
    // Finished without a date: its computed end is 1.
    store.GetNode(2)->m_computedStart = 1;
    store.GetNode(2)->m_computedEnd = 1;

    // A blank first line and no dates, never 1 January 1970.
    EXPECT_EQ(description(1), QStringLiteral("\nTerminée"));
    EXPECT_EQ(description(2), QStringLiteral("\nTerminée"));
    EXPECT_EQ(description(3),
              QStringLiteral("Terminée\nDébut : ") + date(first) + QStringLiteral("\nFin : ") + date(last));
    EXPECT_EQ(description(4),
              QStringLiteral("Terminée\nDébut : ") + date(first) + QStringLiteral("\nFin : ") + date(last));

    // A start without an end: no "Fin :" line.
    store.GetNode(2)->m_computedStart = first;
    EXPECT_EQ(description(2), QStringLiteral("Terminée\nDébut : ") + date(first));

    // A task running anywhere below a completed parent.
    store.Context().runningFlag = 1;
    store.Context().runningProject = 5;
    store.Context().runningActivity = -2;
    EXPECT_EQ(description(4),
              QStringLiteral("Terminée\nDébut : ") + date(first) + QStringLiteral("\nFin : En cours…"));
    store.Context().runningProject = 1;
    EXPECT_EQ(description(1), QStringLiteral("Terminée\nFin : En cours…"));

    EXPECT_EQ(ProjectToolTipContent(*store.GetNode(5)).title, QStringLiteral("Parent / Enfant"));
}

TEST_F(ProjectToolTipTest, InactiveAndOpenNodes)
{
    const qint64 first = at(2024, 2, 1, 9);
    add(1, QStringLiteral("Dormant"), -1, [](tForecast &f) { f.Status = tForecast::StatusInactive; });
    add(2, QStringLiteral("Ancien dormant"), -1, [](tForecast &f) { f.Status = tForecast::StatusInactive; });
    tasks(2, 1, first, first + 3600);
    add(3, QStringLiteral("En route"), -1);
    tasks(3, 2, first, first + 3600);
    add(4, QStringLiteral("Rien"), -1);

    EXPECT_EQ(description(1), QStringLiteral("Tâche inactive"));
    EXPECT_EQ(description(2), QStringLiteral("Tâche inactive\n\nPremière tâche le : ") + date(first));
    EXPECT_EQ(description(3),
              QStringLiteral("Début : En cours…\n\nPremière tâche le : ") + date(first));
    // Nothing known: "Début :" and its blank, as the tooltip has always shown.
    EXPECT_EQ(description(4), QStringLiteral("Début : "));
}

// A planned node that can start now starts "as early as possible"; its
// forecast end and fixed end follow.
TEST_F(ProjectToolTipTest, ForecastDates)
{
    const qint64 due = at(2024, 3, 8, 17);
    add(1, QStringLiteral("Planifié"), -1, [&](tForecast &f) {
        f.Total = 2 * 3600;
        f.TypeDateFin = 1;
        f.DateFin = due;
    });
    add(2, QStringLiteral("Plus tard"), -1, [&](tForecast &f) {
        f.Total = 3600;
        f.TypeDateDebut = 1;
        f.DateDebut = at(2024, 3, 5, 9);
    });
    ASSERT_TRUE(store.ComputeForecast().ran);
    EXPECT_EQ(store.ForecastFrom(), now);
    const CProject *planned = store.GetNode(1);
    ASSERT_EQ(planned->m_computedStart, now);
    EXPECT_EQ(description(1), QStringLiteral("Début : Le plus tôt possible\nFin estimée : ")
                                  + date(planned->m_computedEnd) + QStringLiteral("\nFin prévue : ") + date(due));
    const CProject *later = store.GetNode(2);
    EXPECT_EQ(description(2), QStringLiteral("Début : ") + date(later->m_computedStart)
                                  + QStringLiteral("\nFin estimée : ") + date(later->m_computedEnd));
}

// 0 by default; late 1, or 3 once its alert date has passed; 2 for an
// alert date passed on a node that is not late.
TEST_F(ProjectToolTipTest, ImagesForLateAndAlert)
{
    struct Case
    {
        const char *what;
        qint64 fixedEnd; // 0: none
        qint64 alert;    // 0: none
        int image;
    };
    const Case cases[] = {
        {"on time, no alert", 0, 0, 0},
        {"on time, alert ahead", now + 86400, now + 3600, 0},
        {"on time, alert passed", now + 86400, now - 3600, 2},
        {"late, alert ahead", now - 86400, now + 3600, 1},
        {"late, no alert", now - 86400, 0, 1},
        {"late, alert passed", now - 86400, now - 3600, 3},
    };
    int id = 1;
    for (const Case &c : cases) {
        add(id, QString::fromLatin1(c.what), -1, [&](tForecast &f) {
            f.TypeDateFin = c.fixedEnd ? 1 : 0;
            f.DateFin = c.fixedEnd;
            f.DateAlerte = c.alert;
        });
        EXPECT_EQ(ProjectToolTipContent(*store.GetNode(id)).image, c.image) << c.what;
        ++id;
    }
}
