#pragma once
// A small project tree in a store registered with the data store, French
// settings, the report's snapshot and labels, and the clock fixed on
// Monday 4 March 2024, 10:00 (Paris).
#include "CAppData.h"
#include "CBdD.h"
#include "CConfiguration.h"
#include "CProjectStore.h"
#include "Clock.h"
#include "QStringPrinter.h"
#include "tReportLabels.h"
#include "tReportSnapshot.h"

#include <QDateTime>
#include <QLocale>
#include <gtest/gtest.h>

inline qint64 At(int y, int m, int d, int h, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s)).toSecsSinceEpoch();
}

// Projects: 1 "Clients" > 2 "Alpha" > 3 "Alpha-Web"; 4 "Interne".
// Activities 7 "Rédaction", 8 "Analyse"; rates 5 (60.0 "Standard") and
// 6 (90.5 "Urgent").
class ReportFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config.SetLocale(QLocale(QLocale::French, QLocale::France));
        config.workingDays.ParseDay(0, u"480,720;780,1020;");
        config.workingDays.UpdateTotals();
        CAppData::SetConfiguration(&config);
        CAppData::SetProjectStore(&store);
        Platform::Clock::setFixedNow(now);
        project(1, QStringLiteral("Clients"), -1);
        project(2, QStringLiteral("Alpha"), 1, QStringLiteral("Titre Alpha"), QStringLiteral("Le client Alpha"));
        project(3, QStringLiteral("Alpha-Web"), 2);
        project(4, QStringLiteral("Interne"), -1);
        activity(7, QStringLiteral("Rédaction"), QStringLiteral("Écrire"));
        activity(8, QStringLiteral("Analyse"));
        rate(5, QStringLiteral("Standard"), 60.0f);
        rate(6, QStringLiteral("Urgent"), 90.5f);
        labels.Load(&config);
        snapshot = tReportSnapshot::Take(&store);
    }
    void TearDown() override
    {
        CBdD::CloseSharedConnection();
        CAppData::Clear();
        Platform::Clock::reset();
    }

    CProject *project(int id, const QString &name, int parent, const QString &title = QString(),
                      const QString &comment = QString())
    {
        tElement e;
        e.Id = id;
        e.Nom = name;
        e.Title = title;
        e.Commentaire = comment;
        e.Parent = parent;
        return store.AddProject(e, parent == -1 ? nullptr : store.GetNode(parent), QString());
    }
    void activity(int id, const QString &name, const QString &comment = QString())
    {
        tElement a;
        a.Id = id;
        a.Nom = name;
        a.Commentaire = comment;
        store.SetActivity(id, a);
    }
    void rate(int id, const QString &name, float value)
    {
        store.SetRate(id, tRate{name, QStringLiteral("Tarif ") + name, value});
    }

    const qint64 now = At(2024, 3, 4, 10);
    CConfiguration config;
    CProjectStore store;
    tReportSnapshot snapshot;
    tReportLabels labels;
};
