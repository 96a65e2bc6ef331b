#pragma once
#include <QString>

// One hourly rate, kept in the project store under its id.
struct tRate
{
    // The longest name the rate editor takes.
    static constexpr int MaxNameLength = 100;

    QString Nom;
    QString Commentaire;
    float Valeur = 0.0f;
};
