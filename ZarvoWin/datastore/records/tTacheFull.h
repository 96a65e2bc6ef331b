#pragma once
#include <QString>
#include <QtGlobal>

// One time entry: a row of the table Taches. Times are 64-bit Unix
// seconds; an entry that is still running has Fin 0.
struct tTacheFull
{
    int Id = -1;            // -1 while the entry is not stored
    qint64 Debut = 0;
    qint64 Fin = 0;         // 0 while the entry is running
    int IdProjet = -1;      // -1 none
    int IdActivite = -1;    // -1 none
    int IdTauxHoraire = -1; // -1 none
    int Facture = 0;        // invoiced flag, 0 or 1
    QString Title;
    QString Notes;

    tTacheFull() = default;
    // Back to the values of a new entry.
    void Reset();

    bool IsRunning() const { return Fin == 0; }

    friend bool operator==(const tTacheFull &, const tTacheFull &) = default;
};
