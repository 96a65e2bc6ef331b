#include "BuiltInTexts.h"

#include <QStringView>

#include <algorithm>

namespace Platform {

namespace {
const char16_t *find(const BuiltInTexts::Row *rows, std::size_t count, int key1, int key2)
{
    const BuiltInTexts::Row *end = rows + count;
    const BuiltInTexts::Row *it = std::lower_bound(rows, end, key1, [key2](const BuiltInTexts::Row &row, int k1) {
        return row.key1 < k1 || (row.key1 == k1 && row.key2 < key2);
    });
    if (it != end && it->key1 == key1 && it->key2 == key2)
        return it->text;
    return nullptr;
}
} // namespace

const char16_t *BuiltInTexts::String(Program program, int id)
{
    const Tables &t = TablesOf(program);
    return find(t.strings, t.stringCount, id, 0);
}

const char16_t *BuiltInTexts::Menu(Program program, int menuId, int itemId)
{
    const Tables &t = TablesOf(program);
    return find(t.menus, t.menuCount, menuId, itemId);
}

const char16_t *BuiltInTexts::Dialog(Program program, int dialogId, int controlId)
{
    const Tables &t = TablesOf(program);
    return find(t.dialogs, t.dialogCount, dialogId, controlId);
}

const char16_t *BuiltInTexts::Info(Program program, const char16_t *name)
{
    const Tables &t = TablesOf(program);
    const QStringView wanted(name);
    for (std::size_t i = 0; i < t.infoCount; ++i) {
        if (QStringView(t.infos[i].name) == wanted)
            return t.infos[i].value;
    }
    return nullptr;
}

} // namespace Platform
