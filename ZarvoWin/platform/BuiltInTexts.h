#pragma once
#include <cstddef>

namespace Platform {

// The French texts compiled into the programs: the last fallback of every
// text lookup. The build tool writes the tables from the text sources
// (ZarvoWin/res/Fra/ZarvoFra.txt and ZarvoTrayFra.txt) into a generated
// source, sorted by key; texts keep their "\n" pairs as the language
// databases do.
class BuiltInTexts
{
public:
    // The two programs number their texts each in a space of its own.
    enum class Program { Main, Tray };

    struct Row
    {
        int key1; // string id, menu id or dialog id
        int key2; // 0 for strings; item id or control id
        const char16_t *text;
    };
    struct InfoRow
    {
        const char16_t *name;
        const char16_t *value;
    };
    struct Tables
    {
        const Row *strings;
        std::size_t stringCount;
        const Row *menus;
        std::size_t menuCount;
        const Row *dialogs;
        std::size_t dialogCount;
        const InfoRow *infos;
        std::size_t infoCount;
    };

    // The compiled-in text of a row, or nullptr when the table has none.
    static const char16_t *String(Program program, int id);
    static const char16_t *Menu(Program program, int menuId, int itemId);
    static const char16_t *Dialog(Program program, int dialogId, int controlId);
    static const char16_t *Info(Program program, const char16_t *name);

    // The whole tables of a program (written by the build tool).
    static const Tables &TablesOf(Program program);
};

} // namespace Platform
