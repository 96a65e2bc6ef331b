#pragma once

class QWidget;

// Tells the user that a write to the database did not land: "Erreur lors
// de l'écriture dans la base de données." under "Erreur", with an
// exclamation icon, owned by `owner`.
void ShowEntryWriteFailure(QWidget *owner);
