#pragma once
// A large plan for the forecast benchmarks: 2 000 projects (200 at the top,
// 9 sub-projects each) with 10 000 activity nodes, 3 000 predecessor links
// between sub-projects, two years of booked time, a running entry and long
// notes on every project. Scale 2 doubles projects, activities and links.
#include "CAppData.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "Formatter.h"

#include <QDateTime>
#include <random>

namespace Bench {

struct ForecastPlan
{
    static constexpr int BaseProjects = 2000;
    static constexpr int BaseTopLevel = 200;
    static constexpr int ActivitiesPerProject = 5;
    static constexpr int BaseLinks = 3000;
    static constexpr int NotesLength = 2000;

    CConfiguration config;
    CProjectStore store;
    qint64 now = 0;
    int bookedCount = 0;

    const int Projects;
    const int TopLevel;
    const int Links;

    explicit ForecastPlan(int scale = 1)
        : Projects(BaseProjects * scale), TopLevel(BaseTopLevel * scale), Links(BaseLinks * scale)
    {
        config.workingDays.ParseDay(0, u"480,720;780,1020;");
        config.workingDays.UpdateTotals();
        config.pctNonComptabilise = 10;
        now = QDateTime(QDate(2024, 3, 4), QTime(8, 0)).toSecsSinceEpoch();
        std::mt19937 random(42);
        auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };

        for (int id = 1; id <= Projects; ++id) {
            tElement e;
            e.Id = id;
            e.Nom = QStringLiteral("Projet %1").arg(id);
            e.Parent = id <= TopLevel ? -1 : (id - 1) % TopLevel + 1;
            store.AddProject(e, e.Parent == -1 ? nullptr : store.GetNode(e.Parent), QString());
        }
        for (int id = 1; id <= 10 * ActivitiesPerProject; ++id) {
            tElement a;
            a.Id = id;
            a.Nom = QStringLiteral("Activité %1").arg(id);
            store.SetActivity(id, a);
        }
        // Notes of several lines, longer than a cell shows.
        QString notes;
        while (notes.size() < NotesLength)
            notes += QStringLiteral("Compte rendu de la réunion de suivi, points ouverts et décisions.\r\n");
        // Every project node: children carry the work. Activities: 15 min
        // to 2 h each, priorities 0 to 4.
        for (int id = 1; id <= Projects; ++id) {
            tForecast f;
            f.IdProject = id;
            f.IdActivity = -2;
            f.bModeAuto = true;
            f.TypeDateDebut = 2;
            f.Notes = notes;
            store.SetForecast(f);
            for (int k = 0; k < ActivitiesPerProject; ++k) {
                tForecast a;
                a.IdProject = id;
                a.IdActivity = (id * 7 + k * 3) % (10 * ActivitiesPerProject) + 1;
                a.Total = qint64(pick(1, 8)) * 900;
                a.Priority = pick(0, 4);
                a.TypeDateDebut = 2;
                store.SetForecast(a);
            }
        }
        // Links join sub-projects (which hold only activities), always to a
        // lower id: no loop, neither direct nor through a parent.
        std::vector<QString> links(size_t(Projects) + 1);
        for (int k = 0; k < Links; ++k) {
            const int from = pick(TopLevel + 2, Projects);
            const int to = pick(TopLevel + 1, std::max(TopLevel + 1, from - 1));
            links[size_t(from)] += Platform::Formatter::sprintf(u";%d,%d,%d,%d;", {to, -2, pick(0, 2), 4});
        }
        for (int id = 1; id <= Projects; ++id) {
            if (links[size_t(id)].isEmpty())
                continue;
            tForecast f = store.GetNode(id)->Forecast();
            f.Predecesseurs = links[size_t(id)];
            store.SetForecast(f);
        }
        // Two years of booked time ahead: two entries on every day.
        std::vector<tDebutFin> booked;
        for (int day = 0; day < 730; ++day) {
            const qint64 midnight = QDateTime(QDate(2024, 3, 4).addDays(day), QTime(0, 0)).toSecsSinceEpoch();
            booked.push_back({midnight + 9 * 3600, midnight + 10 * 3600});
            booked.push_back({midnight + 14 * 3600, midnight + 14 * 3600 + 1800});
        }
        bookedCount = int(booked.size());
        store.BookedPeriods() = booked;
        store.m_bookedFrom = now; // read already: the run uses them as they are
        config.SetBookedIntervals(booked);
        // A task running on an activity of the last sub-project for half an
        // hour: the figures of its ancestors move with it.
        const CProject *last = store.GetNode(Projects);
        tProjectContext &context = store.Context();
        context.runningFlag = 1;
        context.runningProject = Projects;
        context.runningActivity = last && last->GetChildCount() > 0 ? last->GetChild(0)->ActivityId() : -1;
        context.runningSeconds = 1800;
        CAppData::SetConfiguration(&config);
        CAppData::SetProjectStore(&store);
        Platform::Clock::setFixedNow(now);
    }
    ~ForecastPlan() { CAppData::Clear(); }
};

} // namespace Bench
