#pragma once
#include <QLocale>
#include <QString>

// The interface languages are numbered as Windows numbers them (a 16-bit
// language id: the primary language in the low 10 bits, the sublanguage
// above), since stored settings ("LanguageId") and the language databases'
// "LangId" keep those numbers. This table of ours ties each id to the
// three-letter abbreviation that names its folder and files ("Fra", "Enu")
// and to the Qt locale of that language.
class LanguageTable
{
public:
    struct Entry
    {
        quint16 id;
        const char *abbreviation; // as the folder is named: "Fra"
        QLocale::Language language;
        QLocale::Territory territory;
    };

    // nullptr for an id the table does not hold (a primary language alone,
    // 12, has no folder of its own).
    static const Entry *Find(quint16 id);
    // The abbreviation of an id ("Fra" for 1036), empty when unknown.
    static QString Abbreviation(quint16 id);
    // The id of a locale: its language and territory, else the language's
    // first entry; 0 when the table has neither.
    static quint16 IdOfLocale(const QLocale &locale);
    // The id of a BCP 47 name such as "fr-CA" or "de"; 0 when unknown.
    static quint16 IdOfName(const QString &name);
};
