#pragma once
#include <QHash>
#include <QString>
#include <QtGlobal>
#include <vector>

class CProjectStore;
struct tReportEntry;

// What a report needs of the projects, activities and rates, copied by
// value on the interface thread before a build starts: the build runs on a
// worker thread while the interface may reload the store, so it reads only
// this copy. Ids the copy does not know read as unknown (empty names, rate
// 0), never as a pointer into the live store.
struct tReportSnapshot
{
    // One project (or, in `Nodes`, an activity below a project).
    struct tProject
    {
        int Id = -1;
        int Parent = -1; // -1: a top-level project
        QString Nom;
        QString Title;
        QString Commentaire;
        int Type = 0;
        // Position in the project tree's depth-first order: siblings
        // compare as the tree orders them.
        int Order = 0;
    };
    struct tActivity
    {
        QString Nom;
        QString Commentaire;
    };
    struct tRate
    {
        QString Nom;
        QString Commentaire;
        float Valeur = 0.0f;
    };
    // A node of the project tree in depth-first order: the root (index 0,
    // project id -1), then each project followed by its activities and
    // sub-projects in the tree's order.
    struct tNode
    {
        int ProjectId = -1;
        int ActivityId = -2; // -2: the project's own node
        int Parent = -1;     // index of the parent node; -1 for the root
        std::vector<int> Children;
    };

    QHash<int, tProject> Projects;
    QHash<int, tActivity> Activities;
    QHash<int, tRate> Rates;
    std::vector<tNode> Nodes;
    QString Separator = QStringLiteral(" / ");

    // The copy of a store (the application's when null; an empty copy
    // when there is none).
    static tReportSnapshot Take(const CProjectStore *store);

    const tProject *Project(int id) const;
    QString ProjectName(int id) const;
    QString ActivityName(int id) const;
    float RateValue(int id) const;
    // The amount of one report line (an entry, or its piece of one day):
    // its seconds at its rate, as a 32-bit amount, rounded once to the
    // currency's decimals. Totals add these rounded amounts, so that the
    // lines shown always add up to the totals shown.
    double LineCost(const tReportEntry &entry) const;
    // The project's name preceded by its ancestors' names, joined by the
    // separator; empty when unknown.
    QString FullName(int projectId) const;
    // The project and its ancestors, top-level first; empty when unknown.
    std::vector<int> Ancestry(int projectId) const;
};
