// The template preview: its sample per report kind, the order in which it
// draws the sections, its margins at 96 dpi, the placeholders it leaves as
// it found them, and the page shrunk into the control.
#include "CPreviewTemplate.h"
#include "ReportPlaceholders.h"
#include "StretchCopy.h"
#include "TestFolders.h"
#include "Texts.h"
#include "tReportDefinition.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Records each section drawn, with where it was drawn, then draws it.
class RecordingPreview : public CPreviewTemplate
{
public:
    struct tCall
    {
        int Code;
        int Index;
        double Y;
        int Left;
        int Right;
        QStringList Texts;
    };
    std::vector<tCall> Calls;

protected:
    void DrawSampleSection(int code, int index, double &y, const tDrawContext &context, int left, int right,
                           const QStringList *texts, const std::vector<tColumn> *columns) override
    {
        Calls.push_back({code, index, y, left, right, texts ? *texts : QStringList()});
        CPreviewTemplate::DrawSampleSection(code, index, y, context, left, right, texts, columns);
    }
};

const char *const Template = R"([Zarvo template, Version=1]
[Header]
params=100
text=0;100;0;1;0;1000;0;1;0;0;1;0xFF0000;[Title] [NumPage]/[NbPage];Arial;10;0;0;0;0;0;0;0
[DataLineEven]
params=50
data=0;50;0;1;0;1000;0;1;0;0;1;0x00FF00;;Arial;9;0;0;0;0;0;4;0;0;0;0;0;1;0
[Footer]
params=100
box=0;100;0;1;0;1000;0;1;0;0;1;0x0000FF
)";

class PreviewTemplateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestFolders::writeFile(QStringLiteral("user/sample.tpl"), Template);
        preview.SetTemplateFolders(TestFolders::root() + QStringLiteral("/user/"),
                                   TestFolders::root() + QStringLiteral("/program/"));
        definition.TitreAuto = false;
        definition.Titre = QStringLiteral("Titre");
        preview.SetDefinition(&definition);
        preview.LoadTemplate(QStringLiteral("sample"));
        ASSERT_EQ(preview.Template().GetLoadState(), CReportTemplate::Loaded);
    }
    QStringList order() const
    {
        QStringList out;
        for (const auto &call : preview.Calls)
            out << QStringLiteral("%1.%2").arg(call.Code).arg(call.Index);
        return out;
    }

    tReportDefinition definition;
    RecordingPreview preview;
};

TEST_F(PreviewTemplateTest, TheSampleFollowsTheReportKind)
{
    definition.Type = 0;
    preview.DrawSamplePage();
    EXPECT_EQ(preview.SampleKind(), 0);
    QStringList titles;
    for (int id : {140, 146, 147, 143, 144})
        titles << Platform::Texts::get(id);
    EXPECT_EQ(preview.SampleTitles(), titles);
    EXPECT_EQ(preview.SampleColumns().size(), 5u);
    const QString word = Platform::Texts::get(335);
    const QString duration = Platform::Texts::get(334);
    EXPECT_EQ(preview.SampleRow(), (QStringList{word, word, word, duration, duration}));

    // A cross table loaded next rebuilds the sample at the next drawing.
    definition.Type = 3;
    preview.DrawSamplePage();
    EXPECT_EQ(preview.SampleKind(), 3);
    EXPECT_EQ(preview.SampleTitles(), QStringList(5, word));
    EXPECT_EQ(preview.SampleRow(), (QStringList{word, duration, duration, duration, duration}));
    EXPECT_EQ(preview.SampleColumns()[1].Align, 2);
}

TEST_F(PreviewTemplateTest, SectionsAreDrawnInTheOrderOfAReport)
{
    definition.Type = 0;
    preview.DrawSamplePage();
    EXPECT_EQ(order(), (QStringList{"2.0", "0.0", "4.0", "9.0", "9.1", "9.2", "9.3", "9.4", "6.0", "5.0", "6.0",
                                    "5.0", "10.4", "10.3", "10.2", "10.1", "10.0", "7.0", "1.0", "3.0"}));
    EXPECT_EQ(preview.Calls[3].Texts, (QStringList{Platform::Texts::get(333), Platform::Texts::get(334)}))
        << "group sections take the sample group's title and total";

    preview.Calls.clear();
    definition.Type = 3;
    preview.DrawSamplePage();
    EXPECT_EQ(order(), (QStringList{"2.0", "0.0", "4.0", "11.0", "11.1", "11.2", "11.3", "11.4", "8.0", "1.0", "3.0"}));
}

TEST_F(PreviewTemplateTest, MarginsBoundThePageAt96Dpi)
{
    preview.SetMargins(100, 100, 100, 100);
    const QImage page = preview.DrawSamplePage();
    EXPECT_EQ(page.size(), QSize(793, 1122));
    ASSERT_FALSE(preview.Calls.empty());
    // 10 mm at 96 dpi is 37.8 pixels, truncated.
    EXPECT_EQ(preview.Calls.front().Left, 37);
    EXPECT_EQ(preview.Calls.front().Right, 793 - 37);
    EXPECT_DOUBLE_EQ(preview.Calls.front().Y, 37.0);
    EXPECT_EQ(page.pixel(36, 40), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(37, 70), qRgb(255, 0, 0)) << "the header's box starts at the margins";
    // The footer stands on the bottom margin (its section 38 pixels high,
    // its box 37).
    EXPECT_DOUBLE_EQ(preview.Calls.back().Y, 1122.0 - 37 - 38);
    EXPECT_EQ(page.pixel(400, 1122 - 37 - 2), qRgb(0, 0, 255));
    EXPECT_EQ(page.pixel(400, 1122 - 37), qRgb(255, 255, 255));

    preview.Calls.clear();
    preview.SetMargins(0, 0, 0, 0);
    preview.DrawSamplePage();
    EXPECT_EQ(preview.Calls.front().Left, 0);
    EXPECT_EQ(preview.Calls.front().Right, 793);
}

TEST_F(PreviewTemplateTest, ThePlaceholdersOfTheReportAreLeftAsTheyWere)
{
    InitReportPlaceholders();
    SetPlaceholderValue(QStringLiteral("Le rapport"), PlaceholderTitle);
    SetPlaceholderValue(QStringLiteral("3"), PlaceholderNumPage);
    SetPlaceholderValue(QStringLiteral("12:30"), PlaceholderTotal);
    SetPlaceholderDates(4, QDate(2024, 3, 1), QDate(2024, 3, 31));
    const tPlaceholderSnapshot before = TakePlaceholderSnapshot();
    preview.resize(200, 283);
    const QImage shown = preview.grab().toImage();
    EXPECT_EQ(TakePlaceholderSnapshot(), before);

    // The page shrunk into the control: the header's red at the top, the
    // footer's blue at the bottom.
    ASSERT_EQ(shown.size(), QSize(200, 283));
    EXPECT_EQ(QColor(shown.pixel(100, 2)).red() > 200, true);
    EXPECT_GT(QColor(shown.pixel(100, 280)).blue(), 200);
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        shown.save(keep + QStringLiteral("/template-preview.png"));
}

TEST_F(PreviewTemplateTest, TheUsersTemplateComesBeforeTheProgramsOfTheSameName)
{
    const QByteArray program = "[Zarvo template, Version=7]\n";
    TestFolders::writeFile(QStringLiteral("program/sample.tpl"), program);
    TestFolders::writeFile(QStringLiteral("program/other.tpl"), program);
    preview.LoadTemplate(QStringLiteral("sample"));
    EXPECT_EQ(preview.Template().GetVersion(), 1);
    preview.LoadTemplate(QStringLiteral("other"));
    EXPECT_EQ(preview.Template().GetVersion(), 7);
    preview.LoadTemplate(QStringLiteral("none"));
    EXPECT_EQ(preview.Template().GetLoadState(), CReportTemplate::NotFound);
    // No template: the message of a page drawn without one.
    const QImage message = preview.DrawSamplePage();
    bool ink = false;
    for (int y = 80; y < 200 && !ink; ++y)
        for (int x = 0; x < 793 && !ink; ++x)
            ink = message.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(ink);
}

TEST(StretchCopy, TheWholeSourceFillsTheDestination)
{
    QImage source(4, 4, QImage::Format_RGB32);
    source.fill(Qt::red);
    QImage target(10, 10, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    StretchCopy(source, 2, 2, painter, 2, 2, 6, 6);
    painter.end();
    EXPECT_EQ(target.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(7, 7), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(8, 8), qRgb(255, 255, 255));
}

} // namespace
