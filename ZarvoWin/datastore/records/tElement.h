#pragma once
#include <QString>
#include <QtGlobal>

// One project or activity as stored in Projets or Activites. A rate being
// saved travels in the same record (Id, Nom, Commentaire and Valeur).
struct tElement
{
    // The longest name the editors take for a project or an activity.
    static constexpr int MaxNameLength = 100;

    int Id = -1;
    QString Nom;
    QString Commentaire;
    QString Title;
    quint32 Color = 0x808080; // 0x00BBGGRR
    int IdExtra = -1;         // carried along, never used by the project tree
    int Activity = -1;        // default activity of a project
    int IdTauxHoraire = -1;   // -1: the default hourly rate
    float Valeur = 0.0f;      // the value when the record carries a rate
    int Parent = -1;          // parent project id
    int Type = 0;             // project type 0..5

    // A new element already has a readable colour of its own.
    tElement();

    // Back to the values of a new element, with a newly drawn colour.
    void Reset();
    void Assign(const tElement &other) { *this = other; }
    tElement Clone() const { return *this; }
    bool IsDifferent(const tElement &other) const;
};
