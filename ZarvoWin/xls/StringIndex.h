#pragma once
#include "SharedStringTable.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace Biff8 {

// Gathers the cell texts of a save into the shared string table, giving
// each distinct text one index. An 8-bit text and a UTF-16 text with the
// same characters are two strings.
class StringIndex
{
public:
    explicit StringIndex(SharedStringTable &table);

    std::uint32_t add(const QString &text);
    std::uint32_t add(const QByteArray &text);

private:
    SharedStringTable &m_table;
    QHash<QString, std::uint32_t> m_wide;
    QHash<QByteArray, std::uint32_t> m_narrow;
};

} // namespace Biff8
