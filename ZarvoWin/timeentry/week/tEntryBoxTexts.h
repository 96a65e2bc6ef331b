#pragma once
#include <QString>

// The interface texts written into the entry boxes, looked up once when
// the language is set.
struct tEntryBoxTexts
{
    QString project;  // "Projet :"
    QString activity; // "Activité :"
    QString start;    // "Début :"
    QString end;      // "Fin :"
    QString duration; // "Durée :"
    QString running;  // "En cours…"

    // The texts of the interface language.
    static tEntryBoxTexts Load();
};
