#include "MyTable.h"

#include "IntParse.h"

#include <QStringDecoder>
#include <cstring>

namespace SQLite {

void MyTable::Build(char **result, int rows, int columns)
{
    m_rowCount = rows;
    m_columnCount = columns;
    m_columnNames.clear();
    m_columnNames.reserve(columns);
    for (int c = 0; c < columns; ++c)
        m_columnNames.append(result && result[c] ? QString::fromUtf8(result[c]) : QStringLiteral(""));

    const qsizetype cells = static_cast<qsizetype>(rows) * columns;
    std::vector<qsizetype> lengths(static_cast<size_t>(cells));
    qsizetype totalBytes = 0;
    for (qsizetype k = 0; k < cells; ++k) {
        const char *value = result[columns + k];
        const qsizetype n = value ? static_cast<qsizetype>(std::strlen(value)) : 0;
        lengths[static_cast<size_t>(k)] = n;
        totalBytes += n;
    }
    // UTF-8 never needs more UTF-16 units than it has bytes.
    m_text.resize(totalBytes);
    m_offsets.resize(static_cast<size_t>(cells) + 1);
    QChar *const base = m_text.data();
    QChar *out = base;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    for (qsizetype k = 0; k < cells; ++k) {
        m_offsets[static_cast<size_t>(k)] = out - base;
        const char *value = result[columns + k];
        const qsizetype n = lengths[static_cast<size_t>(k)];
        if (n == 0)
            continue;
        const auto *bytes = reinterpret_cast<const unsigned char *>(value);
        qsizetype i = 0;
        // Plain ASCII is copied directly; anything else goes to the decoder,
        // which turns invalid sequences into replacement characters.
        while (i < n && bytes[i] < 0x80)
            out[i] = QChar(bytes[i]), ++i;
        out += i;
        if (i < n)
            out = decoder.appendToBuffer(out, QByteArrayView(value + i, n - i));
    }
    m_offsets[static_cast<size_t>(cells)] = out - base;
    m_text.truncate(out - base);
    m_currentRow = rows > 0 ? 0 : -1;
}

bool MyTable::MoveFirst()
{
    if (m_rowCount <= 0)
        return false;
    m_currentRow = 0;
    return true;
}

bool MyTable::MoveLast()
{
    if (m_rowCount <= 0)
        return false;
    m_currentRow = m_rowCount - 1;
    return true;
}

bool MyTable::MoveNext()
{
    if (m_currentRow < 0 || m_currentRow + 1 >= m_rowCount)
        return false;
    ++m_currentRow;
    return true;
}

QString MyTable::GetColumnName(int i) const
{
    if (i < 0 || i >= m_columnCount)
        return QString();
    return m_columnNames[i];
}

int MyTable::ColumnIndex(QStringView name) const
{
    for (int c = 0; c < m_columnCount; ++c) {
        if (QStringView(m_columnNames[c]).compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    return -1;
}

QStringView MyTable::GetCellView(int row, int col) const
{
    if (row < 0 || row >= m_rowCount || col < 0 || col >= m_columnCount)
        return {};
    const size_t k = static_cast<size_t>(row) * static_cast<size_t>(m_columnCount) + static_cast<size_t>(col);
    return QStringView(m_text).mid(m_offsets[k], m_offsets[k + 1] - m_offsets[k]);
}

QString MyTable::GetCell(int row, int col) const
{
    if (row < 0 || row >= m_rowCount || col < 0 || col >= m_columnCount)
        return QString();
    const QStringView v = GetCellView(row, col);
    // A present value is never null, even when it is empty.
    return v.isEmpty() ? QStringLiteral("") : v.toString();
}

QStringView MyTable::CurrentView(int col, bool *present) const
{
    *present = m_currentRow >= 0 && m_currentRow < m_rowCount && col >= 0 && col < m_columnCount;
    return *present ? GetCellView(m_currentRow, col) : QStringView();
}

QString MyTable::GetValue(QStringView name) const
{
    if (name.isNull())
        return QString();
    return GetCell(m_currentRow, ColumnIndex(name));
}

QString MyTable::GetValueAt(int i) const
{
    return GetCell(m_currentRow, i);
}

int MyTable::GetId() const
{
    bool present = false;
    const QStringView v = CurrentView(ColumnIndex(u"Id"), &present);
    return present ? Platform::wtoi(v) : -1;
}

int MyTable::GetInt(QStringView name) const
{
    bool present = false;
    const QStringView v = CurrentView(ColumnIndex(name), &present);
    return present ? Platform::wtoi(v) : 0;
}

int MyTable::GetFirstInt() const
{
    bool present = false;
    const QStringView v = CurrentView(0, &present);
    return present ? Platform::wtoi(v) : 0;
}

qint64 MyTable::GetInt64(QStringView name) const
{
    bool present = false;
    const QStringView v = CurrentView(ColumnIndex(name), &present);
    return present ? Platform::wtoi64(v) : 0;
}

int MyTable::GetIntOr(QStringView name, int ifNull) const
{
    return GetIntAt(m_currentRow, name.isNull() ? -1 : ColumnIndex(name), ifNull);
}

bool MyTable::GetBool(QStringView name) const
{
    bool present = false;
    const QStringView v = CurrentView(ColumnIndex(name), &present);
    return present && !v.isEmpty() && v != u"0";
}

bool MyTable::GetFirstBool() const
{
    bool present = false;
    const QStringView v = CurrentView(0, &present);
    return present && !v.isEmpty() && v != u"0";
}

quint32 MyTable::GetColor() const
{
    const auto component = [this](QStringView name) -> quint32 {
        return static_cast<quint32>(GetInt(name)) & 0xFFu;
    };
    return component(u"Red") | (component(u"Green") << 8) | (component(u"Blue") << 16);
}

} // namespace SQLite
