#pragma once

// Serves Platform::Texts, the data store's door to the interface texts, from
// the main program's language database of the application's interface
// language (CLanguageSelector::Application). Both programs install it: the
// data store numbers its texts as the main program does, also inside the
// tray. Texts are kept once read, and forgotten when the interface language
// changes, so repeated look-ups (the day names of every view) touch no file.
class TextsProvider
{
public:
    static void Install();
    static void Uninstall();
};
