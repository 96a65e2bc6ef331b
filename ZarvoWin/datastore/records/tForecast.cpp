#include "tForecast.h"

void tForecast::AssignParameters(const tForecast &other)
{
    const qint64 minDeb = MinDeb, maxFin = MaxFin, seconds = TotalTaches;
    const int count = NbTaches;
    *this = other;
    MinDeb = minDeb;
    MaxFin = maxFin;
    TotalTaches = seconds;
    NbTaches = count;
}

bool tForecast::IsDifferent(const tForecast &o) const
{
    return Priority != o.Priority || Status != o.Status || TypeDateDebut != o.TypeDateDebut
        || TypeDateFin != o.TypeDateFin || DateDebut != o.DateDebut || DateFin != o.DateFin
        || DateAlerte != o.DateAlerte || Predecesseurs != o.Predecesseurs
        || bPrevuAuto != o.bPrevuAuto || Prevu != o.Prevu || TypePrevu != o.TypePrevu
        || DureeSupp != o.DureeSupp || TypeDureeSupp != o.TypeDureeSupp || bJours != o.bJours
        || bModeAuto != o.bModeAuto || Title != o.Title || Notes != o.Notes || Total != o.Total;
}
