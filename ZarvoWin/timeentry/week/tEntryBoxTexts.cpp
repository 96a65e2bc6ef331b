#include "tEntryBoxTexts.h"

#include "Texts.h"

tEntryBoxTexts tEntryBoxTexts::Load()
{
    using Platform::Texts;
    tEntryBoxTexts t;
    t.project = Texts::get(237);
    t.activity = Texts::get(238);
    t.start = Texts::get(261);
    t.end = Texts::get(262);
    t.duration = Texts::get(263);
    t.running = Texts::get(252);
    return t;
}
