#pragma once
#include <QtGlobal>

// A period of two 64-bit Unix times (start, end). An end of 0 stands for a
// period that is still open (a running entry).
struct tDebutFin
{
    qint64 Debut = 0;
    qint64 Fin = 0;

    friend bool operator==(const tDebutFin &, const tDebutFin &) = default;
};
