#include "StringIndex.h"

namespace Biff8 {

StringIndex::StringIndex(SharedStringTable &table) : m_table(table)
{
    m_table.clear();
}

std::uint32_t StringIndex::add(const QString &text)
{
    ++m_table.total;
    auto it = m_wide.constFind(text);
    if (it != m_wide.constEnd())
        return *it;
    const std::uint32_t index = m_table.unique++;
    m_table.strings.emplace_back(text);
    m_wide.insert(text, index);
    return index;
}

std::uint32_t StringIndex::add(const QByteArray &text)
{
    ++m_table.total;
    auto it = m_narrow.constFind(text);
    if (it != m_narrow.constEnd())
        return *it;
    const std::uint32_t index = m_table.unique++;
    LongString s;
    s.setNarrow(text);
    m_table.strings.push_back(std::move(s));
    m_narrow.insert(text, index);
    return index;
}

} // namespace Biff8
