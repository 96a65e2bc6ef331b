#include "TextSource.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <map>

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Reads a whole number (an optional '-' and digits) at `i`; false when there
// is none or it does not fit an int.
bool readKey(QStringView s, qsizetype &i, int &value)
{
    const qsizetype start = i;
    if (i < s.size() && s[i] == u'-')
        ++i;
    const qsizetype digits = i;
    while (i < s.size() && isDigit(s[i]))
        ++i;
    if (i == digits)
        return false;
    bool ok = false;
    value = s.mid(start, i - start).toInt(&ok);
    return ok;
}

// The length of a printf-style conversion starting right after '%', or 0
// when the text there is none.
qsizetype printfConversionLength(QStringView s)
{
    qsizetype i = 0;
    // A width or precision: '*' or digits.
    const auto skipCount = [&] {
        if (i < s.size() && s[i] == u'*')
            ++i;
        else
            while (i < s.size() && isDigit(s[i]))
                ++i;
    };
    while (i < s.size() && (s[i] == u'-' || s[i] == u'+' || s[i] == u'0' || s[i] == u'#'))
        ++i;
    skipCount();
    if (i < s.size() && s[i] == u'.') {
        ++i;
        skipCount();
    }
    static const char16_t *const lengths[] = {u"I64", u"I32", u"ll", u"l", u"h", u"L", u"w"};
    for (const char16_t *l : lengths) {
        if (s.mid(i).startsWith(QStringView(l))) {
            i += QStringView(l).size();
            break;
        }
    }
    if (i >= s.size())
        return 0;
    static const QStringView conversions = u"diouxXfFeEgGsScC";
    return conversions.contains(s[i]) ? i + 1 : 0;
}

} // namespace

QString TextSource::Problem::ToString() const
{
    // Joined, not formatted: texts and paths may hold '%'.
    return file + u':' + QString::number(line) + QStringLiteral(": ") + message;
}

QString TextSource::TableName(Table table)
{
    switch (table) {
    case Table::Infos: return QStringLiteral("Infos");
    case Table::StringTable: return QStringLiteral("StringTable");
    case Table::Menu: return QStringLiteral("Menu");
    case Table::Dialog: return QStringLiteral("Dialog");
    }
    return QString();
}

void TextSource::AddProblem(int line, const QString &message)
{
    m_problems.append({m_fileName, line, message});
}

bool TextSource::Read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_fileName = path;
        m_rows.clear();
        m_problems.clear();
        AddProblem(0, QStringLiteral("cannot be read"));
        return false;
    }
    return Parse(file.readAll(), path);
}

bool TextSource::Parse(const QByteArray &utf8, const QString &fileName)
{
    m_fileName = fileName;
    m_rows.clear();
    m_problems.clear();

    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString all = decoder.decode(utf8);
    if (decoder.hasError()) {
        AddProblem(0, QStringLiteral("is not valid UTF-8"));
        return false;
    }
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);

    const QList<QStringView> lines = QStringView(all).split(u'\n');
    bool inTable = false;
    Table table = Table::StringTable;
    QList<Table> seenTables;
    // The last keys of the table being read, to check the order.
    bool haveLast = false;
    int last1 = 0, last2 = 0;
    std::map<QString, int> infoLines;

    for (qsizetype n = 0; n < lines.size(); ++n) {
        const int lineNo = int(n + 1);
        QStringView line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;

        if (trimmed.startsWith(u'[')) {
            static const std::pair<const char16_t *, Table> names[] = {
                {u"[Infos]", Table::Infos}, {u"[StringTable]", Table::StringTable},
                {u"[Menu]", Table::Menu}, {u"[Dialog]", Table::Dialog}};
            const auto it = std::find_if(std::begin(names), std::end(names),
                                         [&](const auto &p) { return trimmed == QStringView(p.first); });
            if (it == std::end(names)) {
                AddProblem(lineNo, QStringLiteral("unknown table %1 (Infos, StringTable, Menu or Dialog)")
                                       .arg(trimmed.toString()));
                inTable = false;
                continue;
            }
            if (seenTables.contains(it->second))
                AddProblem(lineNo, QStringLiteral("the table %1 appears twice").arg(trimmed.toString()));
            seenTables.append(it->second);
            table = it->second;
            inTable = true;
            haveLast = false;
            continue;
        }
        if (!inTable) {
            AddProblem(lineNo, QStringLiteral("a row outside a table"));
            continue;
        }

        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) {
            AddProblem(lineNo, QStringLiteral("a row without '='"));
            continue;
        }
        Row row;
        row.table = table;
        row.line = lineNo;
        const QStringView keys = line.left(eq).trimmed();
        if (table == Table::Infos) {
            if (keys.isEmpty() || keys.contains(u' ')) {
                AddProblem(lineNo, QStringLiteral("an Infos row is written \"Name = value\""));
                continue;
            }
            row.name = keys.toString();
        } else {
            const int wanted = table == Table::StringTable ? 1 : 2;
            qsizetype i = 0;
            int got = 0;
            int values[2] = {0, 0};
            bool bad = false;
            while (i < keys.size()) {
                if (got == wanted || !readKey(keys, i, values[got])) {
                    bad = true;
                    break;
                }
                ++got;
                while (i < keys.size() && isBlank(keys[i]))
                    ++i;
            }
            if (bad || got != wanted) {
                AddProblem(lineNo, table == Table::StringTable
                                       ? QStringLiteral("a StringTable row is written \"id = text\"")
                                       : QStringLiteral("a %1 row is written \"%2 id = text\"")
                                             .arg(TableName(table),
                                                  table == Table::Menu ? QStringLiteral("menu")
                                                                       : QStringLiteral("dialog")));
                continue;
            }
            row.key1 = values[0];
            row.key2 = values[1];
        }

        QStringView text = line.mid(eq + 1);
        if (text.startsWith(u' '))
            text = text.mid(1);
        if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"')) {
            text = text.mid(1, text.size() - 2);
        } else if (!text.isEmpty() && (isBlank(text.front()) || isBlank(text.back()))) {
            AddProblem(lineNo, QStringLiteral("a text that begins or ends with a blank is written "
                                              "between double quotes"));
            continue;
        }
        row.text = text.toString();

        if (table == Table::Infos) {
            const auto [it, fresh] = infoLines.emplace(row.name, lineNo);
            if (!fresh) {
                AddProblem(lineNo, QStringLiteral("duplicate key: Infos ") + row.name
                                       + QStringLiteral(" (first on line %1)").arg(it->second));
                continue;
            }
        } else {
            const auto describe = [&](int k1, int k2) {
                return table == Table::StringTable ? QStringLiteral("%1 %2").arg(TableName(table)).arg(k1)
                                                   : QStringLiteral("%1 %2 %3").arg(TableName(table)).arg(k1).arg(k2);
            };
            if (haveLast && std::pair(row.key1, row.key2) == std::pair(last1, last2)) {
                AddProblem(lineNo, QStringLiteral("duplicate key: %1").arg(describe(row.key1, row.key2)));
                continue;
            }
            if (haveLast && std::pair(row.key1, row.key2) < std::pair(last1, last2)) {
                const Row *earlier = Find(table, row.key1, row.key2);
                if (earlier) {
                    AddProblem(lineNo, QStringLiteral("duplicate key: %1 (first on line %2)")
                                           .arg(describe(row.key1, row.key2)).arg(earlier->line));
                } else {
                    AddProblem(lineNo, QStringLiteral("out of order: %1 comes after %2; keep the rows sorted")
                                           .arg(describe(row.key1, row.key2), describe(last1, last2)));
                }
                continue;
            }
            haveLast = true;
            last1 = row.key1;
            last2 = row.key2;
        }
        m_rows.push_back(std::move(row));
    }
    return m_problems.isEmpty();
}

const TextSource::Row *TextSource::Find(Table table, int key1, int key2) const
{
    for (const Row &row : m_rows) {
        if (row.table == table && row.key1 == key1 && row.key2 == key2 && table != Table::Infos)
            return &row;
    }
    return nullptr;
}

const TextSource::Row *TextSource::FindInfo(QStringView name) const
{
    for (const Row &row : m_rows) {
        if (row.table == Table::Infos && row.name == name)
            return &row;
    }
    return nullptr;
}

QStringList TextSource::Inserts(QStringView text)
{
    QStringList printfStyle;
    QStringList messageStyle;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'%' || i + 1 >= text.size())
            continue;
        const QStringView rest = text.mid(i + 1);
        if (rest.front() == u'%') {
            ++i;
            continue;
        }
        if (isDigit(rest.front()) && rest.front() != u'0') {
            qsizetype j = 0;
            while (j < rest.size() && isDigit(rest[j]))
                ++j;
            QString insert = QStringLiteral("%") + rest.left(j).toString();
            if (j < rest.size() && rest[j] == u'!') {
                const qsizetype close = rest.indexOf(u'!', j + 1);
                if (close > j) {
                    insert += rest.mid(j, close - j + 1).toString();
                    j = close + 1;
                } else {
                    insert += QStringLiteral("!s!");
                }
            } else {
                insert += QStringLiteral("!s!");
            }
            messageStyle.append(insert);
            i += j;
            continue;
        }
        const qsizetype length = printfConversionLength(rest);
        if (length > 0) {
            printfStyle.append(QStringLiteral("%") + rest.left(length).toString());
            i += length;
        }
    }
    messageStyle.sort();
    return printfStyle + messageStyle;
}

QList<TextSource::Problem> TextSource::CompareWithFrench(const TextSource &translation, const TextSource &french)
{
    QList<Problem> problems;
    for (const Row &row : translation.Rows()) {
        if (row.table == Table::Infos)
            continue;
        const Row *reference = french.Find(row.table, row.key1, row.key2);
        const QString key = row.table == Table::StringTable
                                ? QStringLiteral("%1 %2").arg(TableName(row.table)).arg(row.key1)
                                : QStringLiteral("%1 %2 %3").arg(TableName(row.table)).arg(row.key1).arg(row.key2);
        if (!reference) {
            problems.append({translation.FileName(), row.line,
                             QStringLiteral("%1 has no French text in %2").arg(key, french.FileName())});
            continue;
        }
        const QStringList mine = Inserts(row.text);
        const QStringList theirs = Inserts(reference->text);
        if (mine != theirs) {
            problems.append({translation.FileName(), row.line,
                             key + QStringLiteral(": the inserts (") + mine.join(u' ')
                                 + QStringLiteral(") differ from the French ones (") + theirs.join(u' ')
                                 + QStringLiteral(", ") + french.FileName() + u':'
                                 + QString::number(reference->line) + u')'});
        }
    }
    return problems;
}
