// Loading report templates from files the tests write: the header, the
// folders searched, headings, token rules, both encodings and bad input.
#include "CDrawDataLine.h"
#include "CDrawImg.h"
#include "CPicture.h"
#include "CReportTemplate.h"
#include "TemplateTokens.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {

const QByteArray header = "[Zarvo template, Version=1]\n";

class ReportTemplateTest : public ::testing::Test
{
protected:
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QSaveFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        EXPECT_TRUE(file.commit());
        return path;
    }
    // Loads a template made of the header and `body`.
    CReportTemplate &load(const QByteArray &body)
    {
        const QString path = write(QStringLiteral("t.tpl"), header + body);
        EXPECT_EQ(tpl.Load(QString(), path, QString()), CReportTemplate::Loaded);
        return tpl;
    }
    const CDrawObject &only(int code, int index = 0)
    {
        const CDrawSection *section = tpl.GetSection(code, index);
        EXPECT_TRUE(section);
        EXPECT_EQ(section->Objects().size(), 1u);
        return *section->Objects().front();
    }

    QTemporaryDir dir;
    CReportTemplate tpl;
};

TEST(TemplateTokens, NumbersReadAsACConversionDoesAndClampToInt)
{
    const struct {
        const char *token;
        int value;
    } cases[] = {
        {"42", 42},
        {"  12abc", 12},
        {"-7", -7},
        {"+3", 3},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"99999999999999999999999", std::numeric_limits<int>::max()},
        {"-99999999999999999999999", std::numeric_limits<int>::min()},
        {"2147483647", std::numeric_limits<int>::max()},
        {"-2147483648", std::numeric_limits<int>::min()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TemplateTokens::ToNumber(QString::fromLatin1(c.token)), c.value) << c.token;
}

TEST_F(ReportTemplateTest, HeaderLineDecidesWhetherTheFileIsATemplate)
{
    const struct {
        QByteArray bytes;
        int state;
        int version;
    } cases[] = {
        {"[Zarvo template, Version=1]\n", 0, 1},
        {"[Zarvo template, Version=3]", 0, 3},
        {"[Zarvo template, Version=2]\r\n[Title]\r\n", 0, 2},
        {"\xEF\xBB\xBF[Zarvo template, Version=1]\n", 0, 1},
        {"[Zarvo template, Version=99999999999]\n", 0, std::numeric_limits<int>::max()},
        {"[Zarvo template, Version=0]\n", 2, 0},
        {"[Zarvo template, Version=-4]\n", 2, 0},
        {"[Zarvo template, Version=]\n", 2, 0},
        {"[Zarvo template, Version=\n", 2, 0},
        {" [Zarvo template, Version=1]\n", 2, 0},
        {"[zarvo template, Version=1]\n", 2, 0},
        {"", 2, 0},
        {QByteArray("\x00\xFF\x12garbage\n\x01", 13), 2, 0},
    };
    for (const auto &c : cases) {
        const QString path = write(QStringLiteral("h.tpl"), c.bytes);
        EXPECT_EQ(tpl.Load(QString(), path, QString()), c.state) << c.bytes.toStdString();
        EXPECT_EQ(tpl.GetLoadState(), c.state);
        EXPECT_EQ(tpl.GetVersion(), c.version) << c.bytes.toStdString();
        EXPECT_EQ(tpl.GetPath(), c.state == 0 ? path : QString());
        EXPECT_EQ(tpl.GetTemplateFolder(), c.state == 0 ? dir.path() + u'/' : QString());
    }
}

TEST_F(ReportTemplateTest, FoldersAreSearchedInOrder)
{
    QDir(dir.path()).mkpath(QStringLiteral("user"));
    QDir(dir.path()).mkpath(QStringLiteral("program"));
    const QString user = dir.filePath(QStringLiteral("user/"));
    const QString program = dir.filePath(QStringLiteral("program/"));
    write(QStringLiteral("user/both.tpl"), header + "[Title]\nparams=1\n");
    write(QStringLiteral("program/both.tpl"), header + "[Title]\nparams=2\n");
    write(QStringLiteral("program/shipped.tpl"), header + "[Title]\nparams=3\n");

    EXPECT_EQ(tpl.Load(user, QStringLiteral("both"), program), 0);
    EXPECT_EQ(tpl.GetSection(CReportTemplate::Title)->GetHeight(), 1);
    EXPECT_EQ(tpl.GetTemplateFolder(), user);

    EXPECT_EQ(tpl.Load(user, QStringLiteral("shipped"), program), 0);
    EXPECT_EQ(tpl.GetSection(CReportTemplate::Title)->GetHeight(), 3);
    EXPECT_EQ(tpl.GetPath(), program + QStringLiteral("shipped.tpl"));

    EXPECT_EQ(tpl.Load(user, QStringLiteral("none"), program), CReportTemplate::NotFound);
    EXPECT_TRUE(tpl.GetPath().isEmpty());
    // A failed load leaves nothing of the previous template behind.
    EXPECT_EQ(tpl.GetSection(CReportTemplate::Title)->GetHeight(), 0);

    QDir(dir.path()).mkpath(QStringLiteral("user/x.tpl"));
    EXPECT_EQ(tpl.Load(user, QStringLiteral("x"), QString()), CReportTemplate::NotFound);
    EXPECT_EQ(tpl.Load(QString(), user + QStringLiteral("x.tpl"), QString()), CReportTemplate::NotFound);
}

TEST_F(ReportTemplateTest, MissingTokensReadZeroNotTheObjectDefaults)
{
    load("[Title]\nbox=10;50\ndata=\nimg=1;2\n");
    const auto &objects = tpl.GetSection(CReportTemplate::Title)->Objects();
    ASSERT_EQ(objects.size(), 3u);
    const CDrawObject &box = *objects[0];
    EXPECT_EQ(box.GetKind(), CDrawObject::KindBox);
    EXPECT_EQ(box.Top, 10);
    EXPECT_EQ(box.Height, 50);
    EXPECT_EQ(box.HorizontalAnchor, 0);
    EXPECT_EQ(box.Offset, 0);
    EXPECT_EQ(box.Width, 0);
    EXPECT_EQ(box.Border.Width, 0);
    EXPECT_EQ(box.FillColour, 0);
    EXPECT_FALSE(box.PerMille);

    // "data=" holds one empty token: a number 0; the rest are missing.
    const auto &data = static_cast<const CDrawDataLine &>(*objects[1]);
    EXPECT_FALSE(data.PerMille);
    EXPECT_EQ(data.Width, 0);
    EXPECT_EQ(data.GetFontName(), QString());
    EXPECT_EQ(data.GetFontSize(), 0);
    EXPECT_EQ(data.Separator.Width, 0);

    const auto &img = static_cast<const CDrawImg &>(*objects[2]);
    EXPECT_EQ(img.Mode, 0);
    EXPECT_TRUE(img.FileName.isEmpty());
}

TEST_F(ReportTemplateTest, FlagsAndColours)
{
    load("[Header]\n"
         "box=0;0;0;;0;0;0;0;0;0x102030;no;255\n"
         "box=0;0;0;0;0;0;0;0;0; 0xFF;0;0xzz0001\n");
    const auto &objects = tpl.GetSection(CReportTemplate::Header)->Objects();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_TRUE(objects[0]->PerMille) << "an empty flag token is true";
    EXPECT_TRUE(objects[0]->Fill) << "any token but 0 is true";
    EXPECT_EQ(objects[0]->Border.Colour, 16 | 32 << 8 | 48 << 16);
    EXPECT_EQ(objects[0]->FillColour, 255) << "decimal is the 0x00BBGGRR value";
    EXPECT_FALSE(objects[1]->PerMille);
    EXPECT_FALSE(objects[1]->Fill);
    // Short or bad hexadecimal pairs read 0.
    EXPECT_EQ(objects[1]->Border.Colour, 255);
    EXPECT_EQ(objects[1]->FillColour, 1 << 16);
}

TEST_F(ReportTemplateTest, HeadingsSelectSectionsOrDropTheirLines)
{
    load("box=1\n"
         "[GroupFooter=3]\nparams=30\nbox=2\n"
         "[GroupHeader=6]\nbox=3\n"
         "[GroupFooter=6]\nbox=4\n"
         "[GroupLine=0]\nbox=5\n"
         "[GroupLine=-1]\nbox=6\n"
         "[GroupLine=deux]\nbox=7\n"
         "[Unknown]\nbox=8\n"
         "[title]\nbox=9\n"
         "[Title\nbox=10\n"
         "[End]\n  params=5  \n! a comment\n\nbox=11\nno equals sign\nshape=1\n"
         "[Footer]\nbox=12\n"
         "[End]\nparams=7\nline=13\n"
         "[GroupLine=5]\ntext=14\n");
    EXPECT_EQ(tpl.GetGroupCount(CReportTemplate::GroupFooter), 3);
    EXPECT_TRUE(tpl.GetSection(CReportTemplate::GroupFooter, 0)->Objects().empty());
    EXPECT_TRUE(tpl.GetSection(CReportTemplate::GroupFooter, 1)->Objects().empty());
    EXPECT_EQ(only(CReportTemplate::GroupFooter, 2).Top, 2);
    EXPECT_EQ(tpl.GetSection(CReportTemplate::GroupFooter, 2)->GetHeight(), 30);
    EXPECT_EQ(tpl.GetGroupCount(CReportTemplate::GroupHeader), 0);
    EXPECT_EQ(tpl.GetSection(CReportTemplate::GroupHeader, 0), nullptr);
    EXPECT_EQ(tpl.GetSection(CReportTemplate::GroupFooter, 3), nullptr);
    EXPECT_EQ(tpl.GetSection(CReportTemplate::GroupFooter, -1), nullptr);
    EXPECT_EQ(tpl.GetSection(12), nullptr);
    EXPECT_EQ(tpl.GetSection(-1), nullptr);
    EXPECT_EQ(tpl.GetGroupCount(CReportTemplate::GroupLine), 5);
    EXPECT_EQ(only(CReportTemplate::GroupLine, 4).GetKind(), CDrawObject::KindText);

    // "[Title" drops its last character: "Titl" is no section.
    EXPECT_TRUE(tpl.GetSection(CReportTemplate::Title)->Objects().empty());
    // The end section, opened twice, keeps its objects in order and the
    // later height.
    const CDrawSection *end = tpl.GetSection(CReportTemplate::End);
    ASSERT_EQ(end->Objects().size(), 2u);
    EXPECT_EQ(end->Objects()[0]->Top, 11);
    EXPECT_EQ(end->Objects()[1]->Top, 13);
    EXPECT_EQ(end->Objects()[1]->GetKind(), CDrawObject::KindLine);
    EXPECT_EQ(end->GetHeight(), 7);
    EXPECT_EQ(only(CReportTemplate::Footer).Top, 12);
}

TEST_F(ReportTemplateTest, BothEncodingsAndLineEndsReadTheSameText)
{
    const QByteArray cp1252 = "[Zarvo template, Version=1]\r\n[Title]\r\ntext=0;0;0;0;0;0;0;0;0;0;0;0;"
                              "\xC9t\xE9 \x80;Arial\r\n";
    const QByteArray utf8 = "\xEF\xBB\xBF[Zarvo template, Version=1]\n[Title]\ntext=0;0;0;0;0;0;0;0;0;0;0;0;"
                            "\xC3\x89t\xC3\xA9 \xE2\x82\xAC;Arial\n";
    for (const QByteArray &bytes : {cp1252, utf8}) {
        const QString path = write(QStringLiteral("enc.tpl"), bytes);
        ASSERT_EQ(tpl.Load(QString(), path, QString()), 0);
        const CDrawObject &text = only(CReportTemplate::Title);
        EXPECT_EQ(text.GetText(), QStringLiteral(u"Été €"));
        EXPECT_EQ(text.GetFontName(), QStringLiteral("Arial")) << "no carriage return kept";
    }
}

TEST_F(ReportTemplateTest, EachKeysWrittenFormReadsBackIdentical)
{
    const QStringList lines = {
        QStringLiteral("box=-5;120;1;1;30;400;15;10;2;16777215;1;8421504"),
        QStringLiteral("line=1;0;2;0;7;900;0;3;4;255;0;0"),
        QStringLiteral(u"text=2;60;0;1;10;500;8;1;0;0;1;12632256;Page [NumPage]\\nÉté €;Times New Roman;14;1;1;1;1;65280;6;20"),
        QStringLiteral("data=0;45;0;1;0;1000;8;1;0;0;0;0;Total;Arial;9;1;0;0;0;0;4;15;30;1;2;8421504;3;2"),
        QStringLiteral("img=0;150;1;0;0;400;0;1;0;0;0;16711680;images/logo.jpg;2"),
    };
    QByteArray body = "[DataLineOdd]\n";
    for (const QString &line : lines)
        body += TemplateTokens::EncodeWindows1252(line) + '\n';
    load(body);
    const auto &objects = tpl.GetSection(CReportTemplate::DataLineOdd)->Objects();
    ASSERT_EQ(objects.size(), size_t(lines.size()));
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    for (size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(objects[i]->GetLine(), lines[qsizetype(i)] + u'\n');
        objects[i]->WriteLine(written);
    }
    EXPECT_EQ(written.data(), body.mid(body.indexOf('\n') + 1));
    EXPECT_EQ(objects[2]->GetText(), QStringLiteral(u"Page [NumPage]\nÉté €"));
    EXPECT_EQ(objects[2]->GetTextFormat(), 6);
    EXPECT_EQ(objects[2]->GetMargin(), 20);
    EXPECT_EQ(static_cast<const CDrawDataLine &>(*objects[3]).LabelSpan, 2);
}

TEST_F(ReportTemplateTest, ImagesRecordTheTemplateFolderAndTheirType)
{
    load("[Title]\nimg=0;100;0;0;0;100;0;1;0;0;0;0;pics\\Logo.JPG\n");
    const auto &img = static_cast<const CDrawImg &>(only(CReportTemplate::Title));
    EXPECT_EQ(img.FileName, QStringLiteral("pics/Logo.JPG"));
    EXPECT_EQ(img.Folder, dir.path() + u'/');
    EXPECT_EQ(img.GetFilePath(), dir.path() + QStringLiteral("/pics/Logo.JPG"));
    EXPECT_EQ(img.ImageType, CPicture::TypeJPG);
    EXPECT_EQ(img.Mode, 0);
}

TEST_F(ReportTemplateTest, HostileInputLoadsWithoutHarm)
{
    QByteArray body = "[Title]\ntext=0;0;0;0;0;0;0;0;0;0;0;0;";
    body += QByteArray(1 << 20, 'x');
    body += ";Arial;100000\n";
    body += "params=-99999999999999\n";
    body += "box=99999999999;-99999999999;7;1;-1;-1;255;-3;9;0x;1;-1\n";
    body += QByteArray(3000, ';') + "\n";
    body += QByteArray("\x00\x01\x02=\x03\n", 6);
    load(body);
    const auto &objects = tpl.GetSection(CReportTemplate::Title)->Objects();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->GetText().size(), 1 << 20);
    EXPECT_EQ(objects[0]->GetFontSize(), 100000);
    EXPECT_EQ(tpl.GetSection(CReportTemplate::Title)->GetHeight(), std::numeric_limits<int>::min());
    EXPECT_EQ(objects[1]->Top, std::numeric_limits<int>::max());
    EXPECT_EQ(objects[1]->Height, std::numeric_limits<int>::min());
    EXPECT_EQ(objects[1]->Border.Colour, 0);
}

} // namespace
