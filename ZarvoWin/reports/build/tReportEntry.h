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
    // A piece that ends at its day's 23:59:59 because its entry goes on
    // past that midnight: it counts up to midnight, so that the pieces of
    // an entry add up to the entry's length.
    bool ToMidnight = false;
    QString Title;
    QString Notes;

    // The seconds the line counts: none for the piece of a running entry
    // that reaches the present.
    qint64 Seconds() const { return Fin != 0 ? Fin - Debut + (ToMidnight ? 1 : 0) : 0; }

    friend bool operator==(const tReportEntry &, const tReportEntry &) = default;
};
