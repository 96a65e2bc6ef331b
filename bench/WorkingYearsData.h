#pragma once
// A user database of the start's benchmarks: 30 activities, 2 000 projects
// (100 at the top, the others below them, each with its plan row) and
// fifteen 25-minute entries a working day between two days, each stamped
// at its start, or all with one stamp (as an import or a synchronisation
// leaves them).
#include "CBdD.h"
#include "Formatter.h"
#include "LocalTime.h"

#include <QDate>
#include <QString>

namespace WorkingYearsData {

inline void fill(const QString &path, const QDate &first, const QDate &last, qint64 oneStamp = 0)
{
    using Platform::Formatter;
    CBdD db(path);
    db.Connection()->BeginTransaction();
    for (int a = 0; a < 30; ++a)
        db.Execute(Formatter::sprintf(u"insert into Activites (Id,Nom,Commentaire,Red,Green,Blue,IdTauxHoraire,"
                                      u"Visible,Ordre,Date_Modif,Origine_Modif,Deleted) values "
                                      u"(%d,'Activité %02d','',200,200,200,-1,1,0,0,2,0)",
                                      {31 + 3 * a, a}));
    QString topChilds = QStringLiteral(";");
    for (int p = 0; p < 2000; ++p) {
        const int id = 32 + 3 * p;
        const int parent = p < 100 ? -1 : 32 + 3 * (p % 100);
        db.Execute(Formatter::sprintf(u"insert into Projets (Id,Nom,Parent,Deleted,Type,Visible,Date_Modif,"
                                      u"Origine_Modif) values (%d,'Projet %d',%d,0,0,1,0,2)",
                                      {id, p, parent}));
        db.Execute(Formatter::sprintf(u"insert into Forecast (IdProject,IdActivity) values (%d,-2)", {id}));
        if (parent == -1)
            topChilds += Formatter::sprintf(u"%d;", {id});
    }
    db.Execute(Formatter::sprintf(u"insert into ProjectChilds (IdProject,Childs) values (-1,'%s')", {topChilds}));
    int entry = 101;
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        if (d.dayOfWeek() > 5)
            continue;
        for (int k = 0; k < 15; ++k) {
            const qint64 start = Platform::LocalTime::atMinute(d, 8 * 60 + 30 * k);
            db.Execute(Formatter::sprintf(
                u"insert into Taches (Id,Debut,Fin,IdProjet,IdActivite,Facture,IdTauxHoraire,Date_Modif,"
                u"Origine_Modif,Deleted,Title,Notes) values (%d,%I64d,%I64d,%d,%d,0,-1,%I64d,2,0,'','')",
                {entry, start, start + 25 * 60, 32 + 3 * (entry % 2000), 31 + 3 * (entry % 30),
                 oneStamp != 0 ? oneStamp : start}));
            entry += 3;
        }
    }
    db.Connection()->CommitTransaction();
}

} // namespace WorkingYearsData
