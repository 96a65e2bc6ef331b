#pragma once
#include <QString>
#include <QtGlobal>

// The planning parameters of one project or activity node (one row of
// Forecast) with the statistics of the time recorded on it.
struct tForecast
{
    int IdProject = -1;
    int IdActivity = -2; // -2: the project node itself
    int Priority = 0;    // scheduling weight - 1
    int Status = 1;      // 4 completed, 5 inactive, other values open
    int TypeDateDebut = 2;
    int TypeDateFin = 0;
    qint64 MinDeb = 0;   // first recorded start
    qint64 MaxFin = 0;   // last recorded end
    qint64 DateDebut = 0;
    qint64 DateFin = 0;
    qint64 DateAlerte = 0;
    QString Predecesseurs;
    bool bPrevuAuto = true;
    int Prevu = 0;
    int TypePrevu = 1;   // 0 minutes, 1 hours, 2 working days
    int DureeSupp = 0;
    int TypeDureeSupp = 1;
    bool bJours = false;
    bool bModeAuto = false;
    QString Title;
    QString Notes;
    qint64 Total = 0;      // estimated total work given by hand
    qint64 TotalTaches = 0; // recorded seconds
    int NbTaches = 0;      // recorded entries

    static constexpr int StatusCompleted = 4;
    static constexpr int StatusInactive = 5;

    void Assign(const tForecast &other) { *this = other; }
    // Copies everything but the recorded statistics.
    void AssignParameters(const tForecast &other);
    // Compares the parameters (neither the ids nor the statistics).
    bool IsDifferent(const tForecast &other) const;
};
