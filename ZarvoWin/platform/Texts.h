#pragma once
#include <QString>
#include <functional>

namespace Platform {

// A number of an interface text. Code that keeps ids in a table declares it
// with this type (`const TextId dayIds[] = {108, 102, ...};`), so that the
// build can check that every id it names has its French text.
using TextId = int;

// Interface texts of the main program, looked up by number. The translation
// store installs a provider that reads the language database; a number the
// provider does not know (or every number, while none is installed) comes
// from the French texts compiled into the program, so a missing or
// incomplete language file never shows an empty text. A text that the
// provider holds empty stays empty.
class Texts
{
public:
    // Returns a null QString for numbers it does not know.
    using Provider = std::function<QString(int id)>;

    // The text of `id`; empty when neither the provider nor the compiled-in
    // French has it.
    static QString get(int id);
    // The compiled-in French text of `id` (null when there is none), with
    // "\n" pairs made into line breaks.
    static QString builtIn(int id);
    static void setProvider(Provider provider);

    // Every backslash followed by 'n' becomes a line break, as language
    // databases write them.
    static QString expandLineBreaks(QString text);
};

} // namespace Platform
