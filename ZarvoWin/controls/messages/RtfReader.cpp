#include "RtfReader.h"

#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace {

// RTF sizes are half points; 12 points when a file gives none.
constexpr int DefaultHalfPoints = 24;
// Deeper nesting than this is read as skipped text: no real file comes
// near it, and it bounds the memory a hostile file can make us take.
constexpr int MaxDepth = 1024;

struct CharState
{
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int font = -1; // index into the font table, -1 for the document's default
    int halfPoints = DefaultHalfPoints;
    int color = 0; // index into the colour table, 0 for the automatic colour
    bool operator==(const CharState &) const = default;
};

enum class Dest { Text, FontTable, ColorTable, Skip };

struct Group
{
    CharState ch;
    Qt::Alignment align = Qt::AlignLeft;
    int uc = 1;            // fallback characters that follow each \uN
    Dest dest = Dest::Text;
    bool starred = false;  // the group opened with "\*"
    bool first = true;     // nothing but "\*" read in the group yet
};

struct Run
{
    QString text;
    CharState ch;
};

struct Paragraph
{
    std::vector<Run> runs;
    Qt::Alignment align = Qt::AlignLeft;
    CharState endCh;
};

// Destinations whose content is never shown. A destination marked "\*" is
// skipped too unless it is one of the few whose text is wanted.
bool isSkippedDestination(const QByteArray &word)
{
    static const char *const names[] = {
        "info", "stylesheet", "pict", "object", "header", "headerl", "headerr", "headerf",
        "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "themedata",
        "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "listtable",
        "listoverridetable", "rsidtbl", "generator", "filetbl", "revtbl", "pgdsctbl",
        "nonshppict", "shp", "shpinst", "bkmkstart", "bkmkend", "author", "operator", "title",
        "subject", "keywords", "comment", "doccomm", "template", "background", "private",
        "annotation", "atnid", "atnauthor", "xe", "tc", "txe", "fchars", "lchars", "pntxta",
        "pntxtb", "mmathPr", "userprops", "docvar", "falt", "panose", "objdata", "result",
    };
    for (const char *n : names) {
        if (word == n)
            return true;
    }
    return false;
}

class Parser
{
public:
    explicit Parser(const QByteArray &data) : m_data(data) { m_paras.emplace_back(); }

    void Parse();
    void Fill(QTextDocument *document) const;

private:
    Group &top() { return m_stack.back(); }
    void ControlWord();
    void HandleWord(const QByteArray &word, bool hasParam, int param);
    void HandleSymbol(char symbol);
    void Emit(QChar c);
    void NewParagraph();
    void SkipBytes(qint64 count);
    QTextCharFormat Format(const CharState &ch) const;

    const QByteArray &m_data;
    qsizetype m_pos = 0;
    std::vector<Group> m_stack;
    int m_overflow = 0;     // groups opened beyond MaxDepth
    int m_ucSkip = 0;       // fallback characters still to skip
    int m_defaultFont = -1;
    QHash<int, QString> m_fonts;
    int m_currentFont = -1; // while reading the font table
    QString m_fontName;
    std::vector<QColor> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;
    std::vector<Paragraph> m_paras;
};

void Parser::Parse()
{
    const qsizetype size = m_data.size();
    bool started = false;
    while (m_pos < size) {
        const char c = m_data.at(m_pos);
        if (c == '{') {
            ++m_pos;
            m_ucSkip = 0;
            if (m_stack.size() >= size_t(MaxDepth)) {
                ++m_overflow;
                continue;
            }
            Group g = m_stack.empty() ? Group() : top();
            g.starred = false;
            g.first = true;
            m_stack.push_back(g);
            started = true;
        } else if (c == '}') {
            ++m_pos;
            m_ucSkip = 0;
            if (m_overflow > 0) {
                --m_overflow;
                continue;
            }
            if (m_stack.empty())
                break;
            if (top().dest == Dest::FontTable && !m_fontName.trimmed().isEmpty()) {
                m_fonts.insert(m_currentFont, m_fontName.trimmed());
                m_fontName.clear();
            }
            if (m_stack.size() == 1) {
                // The document's own group is closed: what follows is not part of it.
                m_paras.back().align = top().align;
                m_paras.back().endCh = top().ch;
                m_stack.pop_back();
                break;
            }
            m_stack.pop_back();
        } else if (!started) {
            ++m_pos; // blanks before the document's group
        } else if (m_overflow > 0) {
            ++m_pos;
        } else if (c == '\\') {
            ControlWord();
        } else if (c == '\r' || c == '\n') {
            ++m_pos; // line ends of the file are not text
        } else {
            ++m_pos;
            if (m_ucSkip > 0) {
                --m_ucSkip;
                continue;
            }
            top().first = false;
            Emit(RtfReader::FromWindows1252(static_cast<unsigned char>(c)));
        }
    }
    // A truncated file ends inside its groups: keep the last paragraph with
    // the state it had.
    if (!m_stack.empty()) {
        m_paras.back().align = top().align;
        m_paras.back().endCh = top().ch;
    }
    // A final \par closes the last paragraph; it does not open an empty one.
    if (m_paras.size() > 1 && m_paras.back().runs.empty())
        m_paras.pop_back();
}

void Parser::ControlWord()
{
    const qsizetype size = m_data.size();
    ++m_pos; // the backslash
    if (m_pos >= size)
        return;
    const char c = m_data.at(m_pos);
    const auto isAlpha = [](char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); };
    const auto isDigit = [](char ch) { return ch >= '0' && ch <= '9'; };
    if (isAlpha(c)) {
        const qsizetype start = m_pos;
        while (m_pos < size && isAlpha(m_data.at(m_pos)) && m_pos - start < 32)
            ++m_pos;
        const QByteArray word = m_data.mid(start, m_pos - start);
        bool negative = false;
        bool hasParam = false;
        qint64 value = 0;
        if (m_pos < size && m_data.at(m_pos) == '-' && m_pos + 1 < size && isDigit(m_data.at(m_pos + 1))) {
            negative = true;
            ++m_pos;
        }
        int digits = 0;
        while (m_pos < size && isDigit(m_data.at(m_pos))) {
            // Ten digits at most are significant; longer runs are read and dropped.
            if (digits < 10)
                value = value * 10 + (m_data.at(m_pos) - '0');
            ++digits;
            hasParam = true;
            ++m_pos;
        }
        if (m_pos < size && m_data.at(m_pos) == ' ')
            ++m_pos; // the delimiter belongs to the word
        value = std::clamp<qint64>(negative ? -value : value, -2147483647LL, 2147483647LL);
        if (m_ucSkip > 0) {
            // A control word stands for one fallback character.
            --m_ucSkip;
            return;
        }
        HandleWord(word, hasParam, int(value));
        return;
    }
    if (c == '\'') {
        ++m_pos;
        const auto hex = [](char ch) -> int {
            if (ch >= '0' && ch <= '9') return ch - '0';
            if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
            if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
            return -1;
        };
        int byte = -1;
        if (m_pos + 1 < size) {
            const int hi = hex(m_data.at(m_pos));
            const int lo = hex(m_data.at(m_pos + 1));
            if (hi >= 0 && lo >= 0) {
                byte = hi * 16 + lo;
                m_pos += 2;
            }
        } else {
            m_pos = size; // truncated inside the escape
        }
        if (m_ucSkip > 0) {
            --m_ucSkip;
            return;
        }
        top().first = false;
        if (byte >= 0)
            Emit(RtfReader::FromWindows1252(static_cast<unsigned char>(byte)));
        return;
    }
    ++m_pos;
    if (m_ucSkip > 0 && c != '*') {
        --m_ucSkip;
        return;
    }
    HandleSymbol(c);
}

void Parser::HandleSymbol(char symbol)
{
    Group &g = top();
    if (symbol == '*') {
        if (g.first)
            g.starred = true;
        return;
    }
    g.first = false;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        Emit(QChar::fromLatin1(symbol));
        break;
    case '~':
        Emit(QChar(0x00A0));
        break;
    case '_':
        Emit(QChar(0x2011));
        break;
    case '-':
        Emit(QChar(0x00AD));
        break;
    case '\n':
    case '\r':
        NewParagraph();
        break;
    default:
        break; // "\:" "\|" and unknown symbols carry nothing to show
    }
}

void Parser::HandleWord(const QByteArray &word, bool hasParam, int param)
{
    Group &g = top();
    const bool first = g.first;
    g.first = false;
    if (word == "bin") {
        // Binary data is never text, whatever the destination.
        SkipBytes(hasParam ? param : 0);
        return;
    }
    if (g.dest == Dest::Skip)
        return;
    if (first) {
        if (word == "fonttbl") {
            g.dest = Dest::FontTable;
            return;
        }
        if (word == "colortbl") {
            g.dest = Dest::ColorTable;
            m_colors.clear();
            return;
        }
        if (isSkippedDestination(word) || g.starred) {
            g.dest = Dest::Skip;
            return;
        }
    }
    const bool on = !hasParam || param != 0;

    if (g.dest == Dest::FontTable) {
        if (word == "f") {
            m_currentFont = param;
            m_fontName.clear();
        } else if (word == "u") {
            Emit(QChar(char16_t(param < 0 ? param + 65536 : param)));
            m_ucSkip = g.uc;
        } else if (word == "uc") {
            g.uc = std::clamp(param, 0, 10);
        }
        return;
    }
    if (g.dest == Dest::ColorTable) {
        const int v = std::clamp(param, 0, 255);
        if (word == "red")
            m_red = v;
        else if (word == "green")
            m_green = v;
        else if (word == "blue")
            m_blue = v;
        return;
    }

    // Body text.
    static const QHash<QByteArray, char16_t> specials = {
        {"tab", u'\t'}, {"cell", u'\t'}, {"line", char16_t(0x2028)}, {"emdash", char16_t(0x2014)},
        {"endash", char16_t(0x2013)}, {"emspace", char16_t(0x2003)}, {"enspace", char16_t(0x2002)},
        {"qmspace", char16_t(0x2005)}, {"bullet", char16_t(0x2022)}, {"lquote", char16_t(0x2018)},
        {"rquote", char16_t(0x2019)}, {"ldblquote", char16_t(0x201C)}, {"rdblquote", char16_t(0x201D)},
        {"zwj", char16_t(0x200D)}, {"zwnj", char16_t(0x200C)}, {"ltrmark", char16_t(0x200E)},
        {"rtlmark", char16_t(0x200F)},
    };
    if (const auto it = specials.constFind(word); it != specials.constEnd()) {
        Emit(QChar(it.value()));
    } else if (word == "par" || word == "sect" || word == "page" || word == "row") {
        NewParagraph();
    } else if (word == "pard") {
        g.align = Qt::AlignLeft;
    } else if (word == "ql") {
        g.align = Qt::AlignLeft;
    } else if (word == "qr") {
        g.align = Qt::AlignRight;
    } else if (word == "qc") {
        g.align = Qt::AlignHCenter;
    } else if (word == "qj") {
        g.align = Qt::AlignJustify;
    } else if (word == "plain") {
        g.ch = CharState();
    } else if (word == "b") {
        g.ch.bold = on;
    } else if (word == "i") {
        g.ch.italic = on;
    } else if (word == "strike") {
        g.ch.strike = on;
    } else if (word == "ulnone") {
        g.ch.underline = false;
    } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" || word == "ulth"
               || word == "uldash" || word == "uldashd" || word == "uldashdd" || word == "ulwave"
               || word == "ulhwave" || word == "ululdbwave" || word == "ulthd" || word == "ulthdash") {
        g.ch.underline = on;
    } else if (word == "f") {
        g.ch.font = param;
    } else if (word == "deff") {
        m_defaultFont = param;
    } else if (word == "fs") {
        // Half points; nonsense sizes fall back to the default, huge ones are capped.
        g.ch.halfPoints = param > 0 ? std::min(param, 3276) : DefaultHalfPoints;
    } else if (word == "cf") {
        g.ch.color = std::max(param, 0);
    } else if (word == "uc") {
        g.uc = std::clamp(param, 0, 10);
    } else if (word == "u") {
        Emit(QChar(char16_t(param < 0 ? param + 65536 : param)));
        m_ucSkip = g.uc;
    }
    // Every other word sets a property this reader does not keep.
}

void Parser::Emit(QChar c)
{
    Group &g = top();
    switch (g.dest) {
    case Dest::Skip:
        return;
    case Dest::FontTable:
        if (c == u';') {
            m_fonts.insert(m_currentFont, m_fontName.trimmed());
            m_fontName.clear();
        } else {
            m_fontName += c;
        }
        return;
    case Dest::ColorTable:
        if (c == u';') {
            if (m_red < 0 && m_green < 0 && m_blue < 0)
                m_colors.emplace_back(); // the automatic colour
            else
                m_colors.emplace_back(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0));
            m_red = m_green = m_blue = -1;
        }
        return;
    case Dest::Text:
        break;
    }
    Paragraph &p = m_paras.back();
    if (p.runs.empty() || !(p.runs.back().ch == g.ch))
        p.runs.push_back(Run{QString(), g.ch});
    p.runs.back().text += c;
}

void Parser::NewParagraph()
{
    Group &g = top();
    if (g.dest != Dest::Text)
        return;
    m_paras.back().align = g.align;
    m_paras.back().endCh = g.ch;
    m_paras.emplace_back();
}

void Parser::SkipBytes(qint64 count)
{
    m_pos = qsizetype(std::min<qint64>(m_data.size(), m_pos + std::max<qint64>(count, 0)));
}

QTextCharFormat Parser::Format(const CharState &ch) const
{
    QTextCharFormat f;
    f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(ch.italic);
    f.setFontUnderline(ch.underline);
    f.setFontStrikeOut(ch.strike);
    f.setFontPointSize(ch.halfPoints / 2.0);
    const int font = ch.font >= 0 ? ch.font : m_defaultFont;
    if (const auto it = m_fonts.constFind(font); it != m_fonts.constEnd() && !it->isEmpty())
        f.setFontFamilies(QStringList{*it});
    if (ch.color >= 0 && size_t(ch.color) < m_colors.size() && m_colors[size_t(ch.color)].isValid())
        f.setForeground(m_colors[size_t(ch.color)]);
    return f;
}

void Parser::Fill(QTextDocument *document) const
{
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool firstBlock = true;
    for (const Paragraph &p : m_paras) {
        QTextBlockFormat block;
        block.setAlignment(p.align);
        const QTextCharFormat end = Format(p.endCh);
        if (firstBlock) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(end);
            firstBlock = false;
        } else {
            cursor.insertBlock(block, end);
        }
        for (const Run &r : p.runs)
            cursor.insertText(r.text, Format(r.ch));
    }
    cursor.endEditBlock();
}

} // namespace

bool RtfReader::LooksLikeRtf(const QByteArray &data)
{
    qsizetype i = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < data.size() && (data.at(i) == ' ' || data.at(i) == '\t' || data.at(i) == '\r' || data.at(i) == '\n'))
        ++i;
    return QByteArrayView(data).sliced(i).startsWith("{\\rtf");
}

bool RtfReader::Read(const QByteArray &data, QTextDocument *document)
{
    if (!document || !LooksLikeRtf(data))
        return false;
    Parser parser(data);
    parser.Parse();
    parser.Fill(document);
    return true;
}

void RtfReader::ReadPlain(const QByteArray &data, QTextDocument *document)
{
    if (!document)
        return;
    QByteArray bytes = data;
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8(bytes);
        if (utf8.hasError()) {
            text.clear();
            text.reserve(bytes.size());
            for (char c : bytes)
                text += FromWindows1252(static_cast<unsigned char>(c));
        }
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    document->setPlainText(text);
}

void RtfReader::ReadAny(const QByteArray &data, QTextDocument *document)
{
    if (!Read(data, document))
        ReadPlain(data, document);
}

QChar RtfReader::FromWindows1252(unsigned char byte)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(high[byte - 0x80]);
    return QChar(char16_t(byte));
}
