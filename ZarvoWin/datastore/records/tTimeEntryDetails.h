#pragma once
#include <QString>
#include <QtGlobal>

// One time entry with the names of what it refers to, for display.
struct tTimeEntryDetails
{
    int Id = -1;
    qint64 Debut = 0;
    qint64 Fin = 0;
    int Facture = 0;
    QString NomProjet;
    QString NomActivite;
    QString Rate; // the rate's name, then " (amount)" when it has a value
    QString Title;
    QString Notes;
};
