#pragma once
#include <QByteArray>
#include <QString>

namespace SQLite {

// Scope guard owning the UTF-8 form of one wide text (the converted SQL
// text of one call).
class UTF8MBSTR
{
public:
    UTF8MBSTR() = default;
    explicit UTF8MBSTR(QStringView wide);
    virtual ~UTF8MBSTR() = default;

    // Converts `wide` into `out` (terminated) and returns the number of
    // wide characters converted, without the terminator.
    static int ToUtf8(QStringView wide, QByteArray &out);

    const char *data() const { return m_bytes.constData(); }
    qsizetype size() const { return m_bytes.size(); }

private:
    QByteArray m_bytes;
};

} // namespace SQLite
