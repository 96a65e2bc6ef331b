#include "tEntryBoxTexts.h"

#include "Texts.h"

tEntryBoxTexts tEntryBoxTexts::Load()
{
    using Platform::Texts;
    tEntryBoxTexts t;
    t.project = Texts::get(237, QStringLiteral("Projet :"));
    t.activity = Texts::get(238, QStringLiteral("Activité :"));
    t.start = Texts::get(261, QStringLiteral("Début :"));
    t.end = Texts::get(262, QStringLiteral("Fin :"));
    t.duration = Texts::get(263, QStringLiteral("Durée :"));
    t.running = Texts::get(252, QStringLiteral("En cours ..."));
    return t;
}
