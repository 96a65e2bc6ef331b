#include "RtfReader.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <random>
#include <vector>

namespace {

struct Fragment
{
    QString text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QString family;
    double points = 0;
    QColor color;
};

struct Block
{
    QString text;
    Qt::Alignment align;
    std::vector<Fragment> fragments;
};

std::vector<Block> blocksOf(const QTextDocument &doc)
{
    std::vector<Block> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        Block block{b.text(), b.blockFormat().alignment(), {}};
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat cf = f.charFormat();
            Fragment fr;
            fr.text = f.text();
            fr.bold = cf.fontWeight() >= QFont::Bold;
            fr.italic = cf.fontItalic();
            fr.underline = cf.fontUnderline();
            fr.strike = cf.fontStrikeOut();
            const QStringList families = cf.fontFamilies().toStringList();
            fr.family = families.isEmpty() ? QString() : families.first();
            fr.points = cf.fontPointSize();
            if (cf.hasProperty(QTextFormat::ForegroundBrush))
                fr.color = cf.foreground().color();
            block.fragments.push_back(fr);
        }
        out.push_back(block);
    }
    return out;
}

// A fragment's text and the styles it should have.
struct Styled
{
    const char16_t *text;
    bool bold = false, italic = false, underline = false, strike = false;
};

void expectFragments(const Block &block, std::initializer_list<Styled> want)
{
    ASSERT_EQ(block.fragments.size(), want.size());
    size_t i = 0;
    for (const Styled &w : want) {
        const Fragment &f = block.fragments[i++];
        SCOPED_TRACE(f.text.toStdString());
        EXPECT_EQ(f.text, QString::fromUtf16(w.text));
        EXPECT_EQ(f.bold, w.bold);
        EXPECT_EQ(f.italic, w.italic);
        EXPECT_EQ(f.underline, w.underline);
        EXPECT_EQ(f.strike, w.strike);
    }
}

// The paragraphs of a text read as RTF (which must read).
std::vector<Block> readBlocks(const QByteArray &rtf)
{
    QTextDocument doc;
    EXPECT_TRUE(RtfReader::Read(rtf, &doc)) << rtf.constData();
    return blocksOf(doc);
}

// The texts of those paragraphs.
std::vector<QString> readTexts(const QByteArray &rtf)
{
    std::vector<QString> texts;
    for (const Block &b : readBlocks(rtf))
        texts.push_back(b.text);
    return texts;
}

QString textOf(const QByteArray &rtf)
{
    QTextDocument doc;
    EXPECT_TRUE(RtfReader::Read(rtf, &doc)) << rtf.constData();
    return doc.toRawText();
}

} // namespace

TEST(RtfReader, CharacterAndParagraphFormats)
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman Times New Roman;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
        "\\viewkind4\\uc1\\pard\\qc\\f0\\fs20 Normal \\b gras\\b0  \\i italique\\i0  \\ul soulign\\'e9\\ulnone  \\strike barr\\'e9\\strike0\\par\r\n"
        "\\pard\\qr\\f1\\fs32\\cf1 Rouge {\\cf2 bleu} fin\\par\r\n"
        "\\pard\\qj\\plain justifi\\'e9\\par\r\n"
        "}\r\n";
    const auto blocks = readBlocks(rtf);
    ASSERT_EQ(blocks.size(), 3u);

    EXPECT_EQ(blocks[0].text, QStringLiteral("Normal gras italique souligné barré"));
    EXPECT_EQ(blocks[0].align, Qt::AlignHCenter);
    expectFragments(blocks[0], {
        {u"Normal "}, {u"gras", true}, {u" "}, {u"italique", false, true},
        {u" "}, {u"souligné", false, false, true}, {u" "}, {u"barré", false, false, false, true},
    });
    for (const Fragment &f : blocks[0].fragments) {
        SCOPED_TRACE(f.text.toStdString());
        EXPECT_EQ(f.family, QStringLiteral("Arial"));
        EXPECT_DOUBLE_EQ(f.points, 10.0);
        EXPECT_FALSE(f.color.isValid()) << "colour 0 of the table is the automatic colour";
    }

    EXPECT_EQ(blocks[1].text, QStringLiteral("Rouge bleu fin"));
    EXPECT_EQ(blocks[1].align, Qt::AlignRight);
    ASSERT_EQ(blocks[1].fragments.size(), 3u);
    EXPECT_EQ(blocks[1].fragments[0].color, QColor(255, 0, 0));
    EXPECT_EQ(blocks[1].fragments[1].color, QColor(0, 0, 255));
    EXPECT_EQ(blocks[1].fragments[2].color, QColor(255, 0, 0)) << "the group's colour ends with it";
    for (const Fragment &f : blocks[1].fragments) {
        EXPECT_EQ(f.family, QStringLiteral("Times New Roman"));
        EXPECT_DOUBLE_EQ(f.points, 16.0);
    }

    // \plain returns to the default font (\deff0) at 12 points, no colour.
    EXPECT_EQ(blocks[2].align, Qt::AlignJustify);
    ASSERT_EQ(blocks[2].fragments.size(), 1u);
    EXPECT_EQ(blocks[2].fragments[0].family, QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(blocks[2].fragments[0].points, 12.0);
    EXPECT_FALSE(blocks[2].fragments[0].color.isValid());
}

TEST(RtfReader, TextEscapes)
{
    struct Case { const char *rtf; const char16_t *text; };
    const Case cases[] = {
        // \uN with its fallback characters skipped, as many as \uc says.
        {"{\\rtf1 \\u8364?}", u"€"},
        {"{\\rtf1 \\uc2\\u8364ab c}", u"€ c"},
        {"{\\rtf1 \\uc0\\u233 x}", u"éx"},
        {"{\\rtf1 \\u233\\'e9 x}", u"é x"},
        {"{\\rtf1 \\uc2\\u233\\'e9\\'e9x}", u"éx"},
        // A fallback is cut short by a group.
        {"{\\rtf1 \\uc3\\u8364{x}y}", u"€xy"},
        // Negative values and surrogate pairs.
        {"{\\rtf1 \\u-3913?}", u"\xF0B7"},
        {"{\\rtf1 \\u-10179?\\u-8704?}", u"\U0001F600"},
        // \uc is scoped by its group.
        {"{\\rtf1 {\\uc0\\u233}\\u233?}", u"éé"},
        // Windows-1252 escapes and raw 8-bit bytes.
        {"{\\rtf1 \\'80\\'85\\'9c\\'e9\\'ff\\'8a}", u"€…œéÿŠ"},
        {"{\\rtf1 caf\xe9 \x93ok\x94}", u"café “ok”"},
        // Control symbols and special characters.
        {"{\\rtf1 a\\\\b\\{c\\}d}", u"a\\b{c}d"},
        {"{\\rtf1 a\\tab b\\~c\\emdash d\\endash e\\lquote f\\rquote\\ldblquote g\\rdblquote\\bullet}", u"a\tb\u00A0c—d–e‘f’“g”•"},
        // Line ends of the file are not text; a control word's space is its delimiter.
        {"{\\rtf1 un\r\ndeux\\b  trois}", u"undeux trois"},
        // Binary data is skipped by its length, braces and all.
        {"{\\rtf1 a\\bin3 {}}b}", u"ab"},
        // Text after the document's closing brace is not part of it.
        {"{\\rtf1 fin}garbage", u"fin"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(textOf(c.rtf), QString::fromUtf16(c.text)) << c.rtf;
}

TEST(RtfReader, NestedAndUnknownGroups)
{
    const QByteArray rtf =
        "{\\rtf1{\\*\\generator Msftedit 5.41;}{\\info{\\title Titre}{\\author Moi}}"
        "{\\stylesheet{\\s0 Normal;}}"
        "a{\\b b{\\i c}d}e"
        "{\\*\\unknowndestination cach\\'e9 {\\b aussi}}"
        "{\\pict\\wmetafile8 0102ff}"
        "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt lien}}"
        "{\\header en-t\\'eate}"
        "f\\par}";
    const auto blocks = readBlocks(rtf);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].text, QStringLiteral("abcdelienf"));
    expectFragments(blocks[0], {{u"a"}, {u"b", true}, {u"c", true, true}, {u"d", true}, {u"elienf"}});
}

TEST(RtfReader, Paragraphs)
{
    struct Case { const char *rtf; std::vector<QString> blocks; };
    const Case cases[] = {
        // A final \par closes the last paragraph without opening an empty one.
        {"{\\rtf1 un\\par deux\\par}", {"un", "deux"}},
        {"{\\rtf1 un\\par deux}", {"un", "deux"}},
        // Empty paragraphs in the middle are kept.
        {"{\\rtf1 un\\par\\par trois\\par}", {"un", "", "trois"}},
        // "\" before a line end is a paragraph mark; \line breaks a line inside one.
        {"{\\rtf1 un\\\ndeux\\line trois}", {"un", QStringLiteral("deux\u2028trois")}},
        {"{\\rtf1 }", {""}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readTexts(c.rtf), c.blocks) << c.rtf;

    // Alignment belongs to the paragraph; \pard returns to the left.
    const auto blocks = readBlocks("{\\rtf1\\qc centre\\par suite\\par\\pard gauche\\par{\\qr droite\\par}}");
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].align, Qt::AlignHCenter);
    EXPECT_EQ(blocks[1].align, Qt::AlignHCenter);
    EXPECT_EQ(blocks[2].align, Qt::AlignLeft);
    EXPECT_EQ(blocks[3].align, Qt::AlignRight);
}

TEST(RtfReader, TruncatedFilesKeepWhatWasRead)
{
    struct Case { QByteArray rtf; std::vector<QString> blocks; };
    const Case cases[] = {
        {"{\\rtf1{\\fonttbl{\\f0 Arial;}}\\b gras\\par deux", {"gras", "deux"}},
        {"{\\rtf1 abc\\'e", {"abc"}},
        {"{\\rtf1 abc\\'", {"abc"}},
        {"{\\rtf1 abc\\u65", {"abcA"}},
        {"{\\rtf1 abc\\", {"abc"}},
        {"{\\rtf1 abc{\\*\\unknown dd", {"abc"}},
        {"{\\rtf1 abc\\bin999999 xyz", {"abc"}},
        {"{\\rtf1 abc\\fs99999999999999999999 d", {"abcd"}},
        {"{\\rtf1", {""}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readTexts(c.rtf), c.blocks) << c.rtf.constData();
    // The bold of the truncated file's last paragraph is kept.
    QTextDocument doc;
    RtfReader::Read(cases[0].rtf, &doc);
    EXPECT_TRUE(blocksOf(doc)[1].fragments.at(0).bold);
}

TEST(RtfReader, DeepNestingIsBounded)
{
    QByteArray rtf = "{\\rtf1 a";
    rtf += QByteArray(100000, '{');
    rtf += "hidden";
    rtf += QByteArray(100000, '}');
    rtf += "b}";
    QTextDocument doc;
    ASSERT_TRUE(RtfReader::Read(rtf, &doc));
    EXPECT_TRUE(doc.toPlainText().startsWith(u'a'));
    EXPECT_TRUE(doc.toPlainText().endsWith(u'b'));
}

TEST(RtfReader, PlainTextIsNotRtf)
{
    struct Case { QByteArray data; const char16_t *text; bool rtf; };
    const Case cases[] = {
        {"Bonjour\r\nle monde", u"Bonjour\nle monde", false},
        {"caf\xe9 \x80", u"café €", false},
        {"caf\xc3\xa9", u"café", false},
        {"\xEF\xBB\xBF" "caf\xc3\xa9", u"café", false},
        {"rtf1 pas vraiment {\\b}", u"rtf1 pas vraiment {\\b}", false},
        {"\xEF\xBB\xBF  {\\rtf1 oui}", u"oui", true},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(RtfReader::LooksLikeRtf(c.data), c.rtf) << c.data.constData();
        QTextDocument doc;
        EXPECT_EQ(RtfReader::Read(c.data, &doc), c.rtf);
        RtfReader::ReadAny(c.data, &doc);
        EXPECT_EQ(doc.toPlainText(), QString::fromUtf16(c.text)) << c.data.constData();
    }
}

TEST(RtfReader, DamagedFilesAreReadWithoutHarm)
{
    // Every prefix of a real-looking file and a few thousand damaged copies
    // (bytes changed, braces and backslashes dropped in) are read to the end;
    // under the sanitizers this catches any read outside the data.
    const QByteArray sample =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman Times;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}{\\*\\generator Riched20;}\\viewkind4\\uc1"
        "\\pard\\qc\\f0\\fs24 Soci\\'e9t\\'e9 {\\b\\cf1 Exemple}\\par\\pard\\qr\\u8364?\\uc2\\u233\\'e9\\'e9 fin"
        "{\\pict\\wmetafile8\\bin4 \x01\x02\x03\x04}{\\field{\\*\\fldinst x}{\\fldrslt lien}}\\line\\tab\\par}";
    for (qsizetype n = 0; n <= sample.size(); ++n) {
        QTextDocument doc;
        RtfReader::ReadAny(sample.left(n), &doc);
    }
    std::mt19937 random(20261209);
    const char inserts[] = {'{', '}', '\\', '\'', '*', ' ', '0', '9', '-', 'u', 'b', '\0', '\xff'};
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = sample;
        const int changes = 1 + int(random() % 8);
        for (int c = 0; c < changes; ++c) {
            const qsizetype at = qsizetype(random() % quint32(damaged.size()));
            switch (random() % 3) {
            case 0: damaged[at] = char(random() & 0xFF); break;
            case 1: damaged.insert(at, inserts[random() % sizeof(inserts)]); break;
            default: damaged.remove(at, 1 + qsizetype(random() % 6)); break;
            }
            if (damaged.isEmpty())
                damaged = "{";
        }
        QTextDocument doc;
        RtfReader::ReadAny(damaged, &doc);
        EXPECT_GE(doc.blockCount(), 1);
    }
}
