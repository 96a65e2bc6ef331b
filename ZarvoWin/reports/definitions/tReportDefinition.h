#pragma once
#include "CReportColumnSet.h"

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <array>
#include <vector>

// One saved report: which period and entries it covers, its kind, how its
// lines are grouped, which columns it shows and how its pages are laid
// out. Kept in the user's report database (CReportStore).
//
// Report kinds (Type): 0 time, 1 cost, 2 time and cost, 3 cross table
// (one column per value of the column grouping), 4 project tracking.
// Grouping codes: 0 year, 1 month, 2 day, 3 project, 4 activity, -1 no
// level (the first -1 ends the list). Period codes: 0 whole database,
// 1 previous year, 2 current year, 3 previous month, 4 current month,
// 5 previous week, 6 current week, 7 yesterday, 8 today, 9 custom dates.
struct tReportDefinition
{
    static constexpr int LevelCount = 5;
    static constexpr int NoLevel = -1;

    int Id = -1;         // -1: never saved
    QString Nom;         // the user's name; empty for an unnamed report
    int Periode = 0;
    QDate Debut;         // first day of the period (invalid: not a date)
    QDate Fin;           // last day of the period
    int Status = 0;      // 0 all entries, 1 not invoiced only, else invoiced only
    bool ShowStatus = true;
    int Type = 0;
    // Project filter, empty for all: "(12,15,40)" for kinds 0 to 3,
    // ";12,-2;15,-2;" (project and activity ids) for kind 4.
    QString Projets;
    QString Activites;   // activity filter, "(3,7)"; empty for all
    // An automatic title is stored as an empty one, which reads back as
    // automatic: it follows the kind and the period after a reload.
    bool TitreAuto = true;
    QString Titre;
    bool Detail = true;  // one line per entry under the groups (kinds but 3)
    std::array<int, LevelCount> Grp{NoLevel, NoLevel, NoLevel, NoLevel, NoLevel}; // Grp_1 to Grp_5
    int Grp_Col = 0;     // the column grouping of a cross table
    bool DetailCross = true; // the detail flag of a cross table
    QString Modele = QStringLiteral("zarvo"); // print template, without ".tpl"
    qint16 PaperSize = 9; // the printer's paper code (9: A4)
    qint16 PaperWidth = 2100;  // tenths of a millimetre
    qint16 PaperHeight = 2970;
    bool Portrait = true;
    int MargeLeft = 100; // tenths of a millimetre
    int MargeTop = 100;
    int MargeRight = 100;
    int MargeBottom = 100;
    QString Extra;       // travels with the record, never stored
    CReportColumnSet Columns;

    // Whether the definition changed since it was loaded or saved. It
    // belongs to the object, not to its value: a copy starts unmodified,
    // and an assignment keeps the target's flag.
    class ModifiedFlag
    {
    public:
        ModifiedFlag() = default;
        ModifiedFlag(const ModifiedFlag &) {}
        ModifiedFlag &operator=(const ModifiedFlag &) { return *this; }
        ModifiedFlag &operator=(bool modified)
        {
            m_modified = modified;
            return *this;
        }
        operator bool() const { return m_modified; }

    private:
        bool m_modified = false;
    };
    ModifiedFlag Modified;

    // A new report: the period dates today, the default columns of a time
    // report with detail.
    tReportDefinition();

    // The grouping levels up to the first -1.
    std::vector<int> Levels() const;

    // Nom, else Titre, else "Nouveau".
    QString GetDisplayName() const;
    // With TitreAuto, the title made of the kind and the period
    // ("Détail temps - Mois en cours").
    void BuildAutoTitle();
    // The title the pages show: the automatic title while the title is
    // automatic (made or not: a definition loaded with an empty title, as
    // the sample reports are, has none yet), else Titre as typed.
    QString ShownTitle() const;
    // The title made of the kind and the period.
    QString AutomaticTitle() const;
    // Fills `columns` with every kind of its range, hidden, then shows the
    // columns this report's kind, levels and flags call for, and marks the
    // list as the default one.
    void SetDefaultColumns(CReportColumnSet &columns) const;
    // Brings the project list the project page leaves ("12,-2;15,3;") to
    // the stored form of the kind: "(12,15)" for kinds 0 to 3; a
    // parenthesised list becomes ";12,-2;15,-2;" for kind 4. Tokens that
    // are not ids are dropped.
    void NormaliseProjectList();
    // True when the project list is empty or names `projectId`.
    bool ContainsProject(int projectId) const;
};
