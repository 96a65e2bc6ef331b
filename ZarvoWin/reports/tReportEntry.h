#pragma once
#include <QString>
#include <QtGlobal>

// One time entry as a report reads it (a row of the report's copy of the
// entries): a piece of an entry that runs over several days carries the
// entry's Id with its own Debut and Fin. Fin is 0 for the piece of a
// running entry that reaches the present; ids are -1 for none (or for a
// project or activity that no longer exists).
struct tReportEntry
{
    int Id = -1;
    qint64 Debut = 0;
    qint64 Fin = 0;
    int IdProjet = -1;
    int IdActivite = -1;
    int IdTauxHoraire = -1;
    bool Facture = false;
    QString Title;
    QString Notes;

    friend bool operator==(const tReportEntry &, const tReportEntry &) = default;
};
