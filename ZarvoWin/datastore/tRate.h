#pragma once
#include <QString>

// One hourly rate, kept in the project store under its id.
struct tRate
{
    QString Nom;
    QString Commentaire;
    float Valeur = 0.0f;
};
