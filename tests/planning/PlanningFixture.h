#pragma once
// A project store and a settings object registered with the data store,
// the clock fixed on Monday 4 March 2024, 10:00, and helpers that add
// projects and activities with their forecast records.
#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "QStringPrinter.h"

#include <QDateTime>
#include <functional>
#include <gtest/gtest.h>

inline qint64 At(int y, int m, int d, int h, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min)).toSecsSinceEpoch();
}

class PlanningFixture : public ::testing::Test
{
protected:
    using Edit = std::function<void(tForecast &)>;

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

    CProject *add(int id, const QString &name, int parent, const Edit &edit = {})
    {
        tElement e;
        e.Id = id;
        e.Nom = name;
        e.Parent = parent;
        CProject *node = store.AddProject(e, parent == -1 ? nullptr : store.GetNode(parent), QString());
        tForecast f = node->Forecast();
        if (edit) {
            edit(f);
            store.SetForecast(f);
        }
        return node;
    }
    // An activity node below a project, the activity named in the store.
    CProject *activity(int projectId, int activityId, const QString &name, const Edit &edit = {})
    {
        tElement a;
        a.Id = activityId;
        a.Nom = name;
        store.SetActivity(activityId, a);
        tForecast f;
        f.IdProject = projectId;
        f.IdActivity = activityId;
        if (edit)
            edit(f);
        store.SetForecast(f);
        return store.FindNode(activityId, projectId);
    }
    void tasks(int projectId, int activityId, int count, qint64 seconds)
    {
        store.AddTaskStatistics(projectId, activityId, count, seconds, now - seconds, now);
    }

    const qint64 now = At(2024, 3, 4, 10);
    CConfiguration config;
    CProjectStore store;
};

inline void Completed(tForecast &f)
{
    f.Status = tForecast::StatusCompleted;
}
inline void Inactive(tForecast &f)
{
    f.Status = tForecast::StatusInactive;
}
