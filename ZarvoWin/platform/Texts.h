#pragma once
#include <QString>
#include <functional>

namespace Platform {

// Interface texts looked up by number. The translation store installs a
// provider that reads the language database; until then (and for numbers
// it does not know) the French text given at the call site is used, so a
// missing language file never shows an empty text.
class Texts
{
public:
    // Returns a null QString for numbers it does not know.
    using Provider = std::function<QString(int id)>;

    static QString get(int id, const QString &frenchFallback);
    static void setProvider(Provider provider);
};

} // namespace Platform
