// Build tool of the interface texts.
//
//   zarvo_language_files build <res folder> <program folder> <generated source>
//     Reads every text source <res folder>/<Abbr>/<Program><Abbr>.txt
//     (Program Zarvo or ZarvoTray), checks them, writes each into the
//     language database <program folder>/<Abbr>/<Program><Abbr>.sdb and the
//     French ones into the compiled-in tables of <generated source>.
//
//   zarvo_language_files check-code <res folder> <code folder> <stamp file>
//     Checks that every text the code names by number (Texts::get(N),
//     GetString(N), GetMenuString(M, N), GetDialogString(D, N) and the
//     TextId tables) has its French text; touches the stamp file when so.
//
// Faults are written as "file:line: message" and fail the build. Outputs are
// rewritten only when their contents change, so that an unchanged text
// source rebuilds nothing.
#include "TextSource.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <map>
#include <set>

namespace {

const char *const Programs[] = {"Zarvo", "ZarvoTray"};

void report(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

void reportAll(const QList<TextSource::Problem> &problems)
{
    for (const TextSource::Problem &p : problems)
        report(p.ToString());
}

struct Source
{
    QString abbr;
    QString program;
    TextSource text;
};

// Every text source below the res folder, French first.
std::vector<Source> findSources(const QString &resFolder, bool &ok)
{
    std::vector<Source> sources;
    const QDir res(resFolder);
    QStringList folders = res.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    folders.removeIf([](const QString &f) { return f.size() != 3; });
    folders.removeAll(QStringLiteral("Fra"));
    folders.prepend(QStringLiteral("Fra"));
    for (const QString &abbr : folders) {
        for (const char *program : Programs) {
            const QString path = res.filePath(abbr + u'/' + QLatin1String(program) + abbr + QStringLiteral(".txt"));
            if (!QFileInfo::exists(path)) {
                if (abbr == u"Fra") {
                    report(path + QStringLiteral(":0: the French text source is missing"));
                    ok = false;
                }
                continue;
            }
            Source s;
            s.abbr = abbr;
            s.program = QLatin1String(program);
            if (!s.text.Read(path)) {
                reportAll(s.text.Problems());
                ok = false;
            }
            const TextSource::Row *langId = s.text.FindInfo(u"LangId");
            bool numeric = false;
            if (langId)
                langId->text.toInt(&numeric);
            if (!numeric || langId->text.toInt() <= 0) {
                report(path + u':' + QString::number(langId ? langId->line : 0)
                       + QStringLiteral(": Infos LangId must give the language id"));
                ok = false;
            }
            sources.push_back(std::move(s));
        }
    }
    return sources;
}

const Source *frenchOf(const std::vector<Source> &sources, const QString &program)
{
    for (const Source &s : sources) {
        if (s.abbr == u"Fra" && s.program == program)
            return &s;
    }
    return nullptr;
}

bool writeIfChanged(const QString &path, const QByteArray &data)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == data)
        return true;
    existing.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(data) != data.size() || !out.commit()) {
        report(path + QStringLiteral(":0: cannot be written"));
        return false;
    }
    return true;
}

bool execute(sqlite3 *db, const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        report(QStringLiteral("sqlite: %1").arg(QString::fromUtf8(error ? error : "error")));
        sqlite3_free(error);
        return false;
    }
    return true;
}

// Writes one language database: a new file beside the target, renamed over it
// once complete.
bool writeDatabase(const Source &source, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray temp = QFile::encodeName(path + QStringLiteral(".tmp"));
    QFile::remove(QString::fromLocal8Bit(temp));
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(temp.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        report(path + QStringLiteral(":0: cannot be created"));
        sqlite3_close(db);
        return false;
    }
    bool ok = execute(db, "BEGIN TRANSACTION;"
                          "CREATE TABLE StringTable(Id integer PRIMARY KEY, String text);"
                          "CREATE TABLE Menu(IdMenu integer, Id integer, String text, PRIMARY KEY(IdMenu, Id));"
                          "CREATE TABLE Dialog(IdDialog integer, Id integer, String text, PRIMARY KEY(IdDialog, Id));"
                          "CREATE TABLE Infos(Name text, Value text);");
    const char *inserts[] = {"INSERT INTO Infos(Name, Value) VALUES (?1, ?2)",
                             "INSERT INTO StringTable(Id, String) VALUES (?1, ?2)",
                             "INSERT INTO Menu(IdMenu, Id, String) VALUES (?1, ?3, ?2)",
                             "INSERT INTO Dialog(IdDialog, Id, String) VALUES (?1, ?3, ?2)"};
    sqlite3_stmt *statements[4] = {};
    for (int i = 0; ok && i < 4; ++i)
        ok = sqlite3_prepare_v2(db, inserts[i], -1, &statements[i], nullptr) == SQLITE_OK;
    for (const TextSource::Row &row : source.text.Rows()) {
        if (!ok)
            break;
        sqlite3_stmt *st = statements[int(row.table)];
        sqlite3_reset(st);
        const QByteArray text = row.text.toUtf8();
        if (row.table == TextSource::Table::Infos) {
            const QByteArray name = row.name.toUtf8();
            sqlite3_bind_text(st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int(st, 1, row.key1);
            if (row.table != TextSource::Table::StringTable)
                sqlite3_bind_int(st, 3, row.key2);
        }
        sqlite3_bind_text(st, 2, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(st) == SQLITE_DONE;
    }
    for (sqlite3_stmt *st : statements)
        sqlite3_finalize(st);
    ok = ok && execute(db, "COMMIT TRANSACTION;");
    if (sqlite3_close(db) != SQLITE_OK)
        ok = false;
    if (!ok || !QFile::exists(QString::fromLocal8Bit(temp))) {
        report(path + QStringLiteral(":0: cannot be written"));
        QFile::remove(QString::fromLocal8Bit(temp));
        return false;
    }
    QFile::remove(path);
    if (!QFile::rename(QString::fromLocal8Bit(temp), path)) {
        report(path + QStringLiteral(":0: cannot be written"));
        QFile::remove(QString::fromLocal8Bit(temp));
        return false;
    }
    return true;
}

QByteArray literal(const QString &text)
{
    QByteArray out = "u\"";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t u = QChar::surrogateToUcs4(c, text[i + 1].unicode());
            out += QByteArray("\\U") + QByteArray::number(uint(u), 16).rightJustified(8, '0');
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            // Octal escapes stop after three digits, so the next character
            // cannot join them.
            out += "\\" + QByteArray::number(uint(c), 8).rightJustified(3, '0');
        } else {
            out += QByteArray("\\u") + QByteArray::number(uint(c), 16).rightJustified(4, '0');
        }
    }
    out += '"';
    return out;
}

QByteArray tablesOf(const Source *source, const QByteArray &prefix)
{
    QByteArray out;
    std::vector<const TextSource::Row *> rows[4];
    if (source) {
        for (const TextSource::Row &row : source->text.Rows())
            rows[int(row.table)].push_back(&row);
    }
    const char *names[4] = {"Infos", "Strings", "Menus", "Dialogs"};
    for (int t = 1; t < 4; ++t) {
        std::sort(rows[t].begin(), rows[t].end(), [](const auto *a, const auto *b) {
            return std::pair(a->key1, a->key2) < std::pair(b->key1, b->key2);
        });
        if (rows[t].empty())
            continue;
        out += "const BuiltInTexts::Row " + prefix + names[t] + "[] = {\n";
        for (const TextSource::Row *row : rows[t]) {
            out += "    {" + QByteArray::number(row->key1) + ", " + QByteArray::number(row->key2) + ", "
                   + literal(row->text) + "},\n";
        }
        out += "};\n";
    }
    if (!rows[0].empty()) {
        out += "const BuiltInTexts::InfoRow " + prefix + "Infos[] = {\n";
        for (const TextSource::Row *row : rows[0])
            out += "    {" + literal(row->name) + ", " + literal(row->text) + "},\n";
        out += "};\n";
    }
    out += "const BuiltInTexts::Tables " + prefix + "Tables = {\n";
    for (int t : {1, 2, 3}) {
        if (rows[t].empty())
            out += "    nullptr, 0,\n";
        else
            out += "    " + prefix + names[t] + ", std::size(" + prefix + names[t] + "),\n";
    }
    if (rows[0].empty())
        out += "    nullptr, 0,\n";
    else
        out += "    " + prefix + "Infos, std::size(" + prefix + "Infos),\n";
    out += "};\n\n";
    return out;
}

int build(const QString &resFolder, const QString &programFolder, const QString &generated)
{
    bool ok = true;
    std::vector<Source> sources = findSources(resFolder, ok);
    for (const Source &s : sources) {
        if (s.abbr == u"Fra")
            continue;
        const Source *french = frenchOf(sources, s.program);
        if (!french) {
            report(s.text.FileName() + QStringLiteral(":0: no French source for this program"));
            ok = false;
            continue;
        }
        const QList<TextSource::Problem> problems = TextSource::CompareWithFrench(s.text, french->text);
        reportAll(problems);
        ok = ok && problems.isEmpty();
    }
    if (!ok)
        return 1;
    for (const Source &s : sources) {
        const QString path = programFolder + u'/' + s.abbr + u'/' + s.program + s.abbr + QStringLiteral(".sdb");
        if (!writeDatabase(s, path))
            return 1;
    }
    QByteArray code = "// Written by zarvo_language_files from the French text sources; do not edit.\n"
                      "#include \"BuiltInTexts.h\"\n\n#include <iterator>\n\n"
                      "namespace Platform {\n\nnamespace {\n";
    code += tablesOf(frenchOf(sources, QStringLiteral("Zarvo")), "main");
    code += tablesOf(frenchOf(sources, QStringLiteral("ZarvoTray")), "tray");
    code += "} // namespace\n\n"
            "const BuiltInTexts::Tables &BuiltInTexts::TablesOf(Program program)\n{\n"
            "    return program == Program::Tray ? trayTables : mainTables;\n}\n\n"
            "} // namespace Platform\n";
    return writeIfChanged(generated, code) ? 0 : 1;
}

// Strips a line comment (not inside a string literal).
QString withoutComment(const QString &line)
{
    bool inString = false;
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        if (line[i] == u'\\' && inString) {
            ++i;
            continue;
        }
        if (line[i] == u'"')
            inString = !inString;
        else if (!inString && line[i] == u'/' && line[i + 1] == u'/')
            return line.left(i);
    }
    return line;
}

int checkCode(const QString &resFolder, const QString &codeFolder, const QString &stamp)
{
    bool ok = true;
    std::vector<Source> sources = findSources(resFolder, ok);
    if (!ok)
        return 1;
    const Source *main = frenchOf(sources, QStringLiteral("Zarvo"));
    const Source *tray = frenchOf(sources, QStringLiteral("ZarvoTray"));

    static const QRegularExpression textsGet(QStringLiteral(R"(\bTexts::get\(\s*(-?\d+)\s*\))"));
    static const QRegularExpression getString(QStringLiteral(R"(\bGetString\(\s*(-?\d+)\s*\))"));
    static const QRegularExpression getMenu(QStringLiteral(R"(\bGetMenuString\(\s*(-?\d+)\s*,\s*(-?\d+)\s*\))"));
    static const QRegularExpression getDialog(QStringLiteral(R"(\bGetDialogString\(\s*(-?\d+)\s*,\s*(-?\d+)\s*\))"));
    static const QRegularExpression tableStart(QStringLiteral(R"(\bTextId\b[^;={(]*=?\s*\{)"));
    static const QRegularExpression number(QStringLiteral(R"((?<![\w.])-?\d+(?![\w.]))"));

    const QString trayFolder = QDir(codeFolder).filePath(QStringLiteral("tray")) + u'/';
    QDirIterator it(codeFolder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files.append(it.next());
    files.sort();

    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const bool inTray = path.startsWith(trayFolder);
        const Source *own = inTray ? tray : main;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        const auto missing = [&](int lineNo, const Source *source, const QString &what) {
            report(path + u':' + QString::number(lineNo) + QStringLiteral(": ") + what
                   + QStringLiteral(" has no French text in ")
                   + (source ? source->text.FileName() : QStringLiteral("the French source")));
            ok = false;
        };
        const auto checkString = [&](int lineNo, const Source *source, int id) {
            // 0 is no text: tables use it for a place left blank.
            if (id == 0)
                return;
            if (!source || !source->text.Find(TextSource::Table::StringTable, id))
                missing(lineNo, source, QStringLiteral("text %1").arg(id));
        };
        bool inTable = false;
        for (qsizetype n = 0; n < lines.size(); ++n) {
            const int lineNo = int(n + 1);
            QString line = withoutComment(lines[n]);
            if (inTable) {
                const qsizetype close = line.indexOf(u'}');
                const QString part = close >= 0 ? line.left(close) : line;
                for (const auto &m : number.globalMatch(part))
                    checkString(lineNo, main, m.captured(0).toInt());
                if (close >= 0)
                    inTable = false;
                continue;
            }
            for (const auto &m : textsGet.globalMatch(line))
                checkString(lineNo, main, m.captured(1).toInt());
            for (const auto &m : getString.globalMatch(line))
                checkString(lineNo, own, m.captured(1).toInt());
            for (const auto &m : getMenu.globalMatch(line)) {
                if (!own || !own->text.Find(TextSource::Table::Menu, m.captured(1).toInt(), m.captured(2).toInt()))
                    missing(lineNo, own, QStringLiteral("menu %1 item %2").arg(m.captured(1), m.captured(2)));
            }
            for (const auto &m : getDialog.globalMatch(line)) {
                if (!own || !own->text.Find(TextSource::Table::Dialog, m.captured(1).toInt(), m.captured(2).toInt()))
                    missing(lineNo, own, QStringLiteral("dialog %1 control %2").arg(m.captured(1), m.captured(2)));
            }
            const QRegularExpressionMatch start = tableStart.match(line);
            if (start.hasMatch()) {
                const QString rest = line.mid(start.capturedEnd(0));
                const qsizetype close = rest.indexOf(u'}');
                const QString part = close >= 0 ? rest.left(close) : rest;
                for (const auto &m : number.globalMatch(part))
                    checkString(lineNo, main, m.captured(0).toInt());
                inTable = close < 0;
            }
        }
    }
    if (!ok)
        return 1;
    // The stamp is written every time: it only tells the build when the
    // check last passed.
    QDir().mkpath(QFileInfo(stamp).absolutePath());
    QFile out(stamp);
    return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write("checked\n") > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == u"build")
        return build(args[2], args[3], args[4]);
    if (args.size() == 5 && args[1] == u"check-code")
        return checkCode(args[2], args[3], args[4]);
    std::fprintf(stderr,
                 "usage: %s build <res folder> <program folder> <generated source>\n"
                 "       %s check-code <res folder> <code folder> <stamp file>\n",
                 argv[0], argv[0]);
    return 2;
}
