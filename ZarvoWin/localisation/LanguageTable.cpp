#include "LanguageTable.h"

#include <iterator>

namespace {
using L = QLocale;
// Sorted by id.
const LanguageTable::Entry Entries[] = {
    {1025, "Ara", L::Arabic, L::SaudiArabia},
    {1026, "Bgr", L::Bulgarian, L::Bulgaria},
    {1027, "Cat", L::Catalan, L::Spain},
    {1028, "Cht", L::Chinese, L::Taiwan},
    {1029, "Csy", L::Czech, L::Czechia},
    {1030, "Dan", L::Danish, L::Denmark},
    {1031, "Deu", L::German, L::Germany},
    {1032, "Ell", L::Greek, L::Greece},
    {1033, "Enu", L::English, L::UnitedStates},
    {1034, "Esp", L::Spanish, L::Spain},
    {1035, "Fin", L::Finnish, L::Finland},
    {1036, "Fra", L::French, L::France},
    {1037, "Heb", L::Hebrew, L::Israel},
    {1038, "Hun", L::Hungarian, L::Hungary},
    {1039, "Isl", L::Icelandic, L::Iceland},
    {1040, "Ita", L::Italian, L::Italy},
    {1041, "Jpn", L::Japanese, L::Japan},
    {1042, "Kor", L::Korean, L::SouthKorea},
    {1043, "Nld", L::Dutch, L::Netherlands},
    {1044, "Nor", L::NorwegianBokmal, L::Norway},
    {1045, "Plk", L::Polish, L::Poland},
    {1046, "Ptb", L::Portuguese, L::Brazil},
    {1048, "Rom", L::Romanian, L::Romania},
    {1049, "Rus", L::Russian, L::Russia},
    {1050, "Hrv", L::Croatian, L::Croatia},
    {1051, "Sky", L::Slovak, L::Slovakia},
    {1053, "Sve", L::Swedish, L::Sweden},
    {1054, "Tha", L::Thai, L::Thailand},
    {1055, "Trk", L::Turkish, L::Turkey},
    {1057, "Ind", L::Indonesian, L::Indonesia},
    {1058, "Ukr", L::Ukrainian, L::Ukraine},
    {1060, "Slv", L::Slovenian, L::Slovenia},
    {1061, "Eti", L::Estonian, L::Estonia},
    {1062, "Lvi", L::Latvian, L::Latvia},
    {1063, "Lth", L::Lithuanian, L::Lithuania},
    {1066, "Vit", L::Vietnamese, L::Vietnam},
    {1069, "Euq", L::Basque, L::Spain},
    {1081, "Hin", L::Hindi, L::India},
    {1110, "Glc", L::Galician, L::Spain},
    {2052, "Chs", L::Chinese, L::China},
    {2055, "Des", L::German, L::Switzerland},
    {2057, "Eng", L::English, L::UnitedKingdom},
    {2058, "Esm", L::Spanish, L::Mexico},
    {2060, "Frb", L::French, L::Belgium},
    {2064, "Its", L::Italian, L::Switzerland},
    {2067, "Nlb", L::Dutch, L::Belgium},
    {2068, "Non", L::NorwegianNynorsk, L::Norway},
    {2070, "Ptg", L::Portuguese, L::Portugal},
    {3079, "Dea", L::German, L::Austria},
    {3081, "Ena", L::English, L::Australia},
    {3082, "Esn", L::Spanish, L::Spain},
    {3084, "Frc", L::French, L::Canada},
    {4103, "Del", L::German, L::Luxembourg},
    {4105, "Enc", L::English, L::Canada},
    {4108, "Frs", L::French, L::Switzerland},
    {5129, "Enz", L::English, L::NewZealand},
    {5132, "Frl", L::French, L::Luxembourg},
    {6153, "Eni", L::English, L::Ireland},
    {6156, "Frm", L::French, L::Monaco},
};
} // namespace

const LanguageTable::Entry *LanguageTable::Find(quint16 id)
{
    for (const Entry &e : Entries) {
        if (e.id == id)
            return &e;
    }
    return nullptr;
}

QString LanguageTable::Abbreviation(quint16 id)
{
    const Entry *e = Find(id);
    return e ? QString::fromLatin1(e->abbreviation) : QString();
}

quint16 LanguageTable::IdOfLocale(const QLocale &locale)
{
    const Entry *languageOnly = nullptr;
    for (const Entry &e : Entries) {
        if (e.language != locale.language())
            continue;
        if (e.territory == locale.territory())
            return e.id;
        // The entry with sublanguage 1 (the language's main form) comes first.
        if (!languageOnly || (e.id >> 10) < (languageOnly->id >> 10))
            languageOnly = &e;
    }
    return languageOnly ? languageOnly->id : 0;
}

quint16 LanguageTable::IdOfName(const QString &name)
{
    if (name.isEmpty() || name == u"C")
        return 0;
    return IdOfLocale(QLocale(name));
}
