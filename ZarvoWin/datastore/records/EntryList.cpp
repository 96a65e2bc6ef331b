#include "EntryList.h"

#include "Formatter.h"

#include <QList>

#include <limits>

namespace EntryList {

std::optional<std::vector<int>> Parse(QStringView text)
{
    std::vector<int> ids;
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return ids;
    if (t.size() < 2 || t.front() != u'(' || t.back() != u')')
        return std::nullopt;
    const QStringView inner = t.mid(1, t.size() - 2).trimmed();
    if (inner.isEmpty())
        return ids;
    for (QStringView part : inner.split(u',')) {
        part = part.trimmed();
        qsizetype i = 0;
        bool negative = false;
        if (i < part.size() && (part[i] == u'-' || part[i] == u'+'))
            negative = part[i++] == u'-';
        if (i == part.size())
            return std::nullopt;
        qint64 value = 0;
        for (; i < part.size(); ++i) {
            const char16_t c = part[i].unicode();
            if (c < u'0' || c > u'9')
                return std::nullopt;
            value = value * 10 + (c - u'0');
            if (value > std::numeric_limits<int>::max())
                return std::nullopt;
        }
        ids.push_back(static_cast<int>(negative ? -value : value));
    }
    return ids;
}

QString ToSql(const std::vector<int> &ids)
{
    QString out = QStringLiteral("(");
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i > 0)
            out += u',';
        out += Platform::Formatter::sprintf(u"%d", {ids[i]});
    }
    out += u')';
    return out;
}

} // namespace EntryList
