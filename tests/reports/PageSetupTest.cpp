// The page setup dialog: the templates of both folders, landscape's swapped sizes,
// the preview following the margins typed, and Annuler changing nothing.
#include "CAppData.h"
#include "CConfiguration.h"
#include "CDlgPage.h"
#include "CMyEdit.h"
#include "CPreviewTemplate.h"
#include "CReadOnlyCB.h"
#include "CReportPapers.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "ReportCentimetres.h"
#include "ReportMargins.h"
#include "TestFolders.h"
#include "tReportDefinition.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPrinter>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

class PageSetupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        config.SetLocale(QLocale(QLocale::French, QLocale::France));
        CAppData::SetConfiguration(&config);
        // No printer: A4 and Letter are offered.
        CReportPapers::Instance().SetPrinterSource([] { return std::unique_ptr<QPrinter>(); });
        user = TestFolders::file(QStringLiteral("user")) + u'/';
        program = TestFolders::file(QStringLiteral("program")) + u'/';
        QDir().mkpath(user);
        QDir().mkpath(program);
        QFile::copy(QStringLiteral(ZARVO_TEMPLATES_DIR_FRA "zarvo.tpl"), program + QStringLiteral("zarvo.tpl"));
        QFile::copy(QStringLiteral(ZARVO_TEMPLATES_DIR_FRA "zarvo-nb.tpl"), program + QStringLiteral("zarvo-nb.tpl"));
        QFile::copy(QStringLiteral(ZARVO_TEMPLATES_DIR_FRA "zarvo.tpl"), user + QStringLiteral("Zarvo.tpl"));
        QFile::copy(QStringLiteral(ZARVO_TEMPLATES_DIR_FRA "zarvo.tpl"), user + QStringLiteral("mien.tpl"));
        definition.Modele = QStringLiteral("ZARVO");
        definition.Portrait = false;
        definition.MargeLeft = 100;
        definition.MargeTop = 150;
        definition.MargeRight = 200;
        definition.MargeBottom = 250;
    }
    void TearDown() override
    {
        CReportPapers::Instance().SetPrinterSource({});
        CAppData::Clear();
    }

    CConfiguration config;
    tReportDefinition definition;
    QString user;
    QString program;
};

TEST_F(PageSetupTest, OpensOnTheReportsTemplatePaperAndLandscapeSizes)
{
    CDlgPage dialog(definition, user, program);
    // The user's copy first and once, whatever its case.
    QStringList listed;
    for (int i = 0; i < dialog.TemplateCombo()->count(); ++i)
        listed << dialog.TemplateCombo()->itemText(i);
    EXPECT_EQ(listed, QStringList({QStringLiteral("Zarvo"), QStringLiteral("mien"), QStringLiteral("zarvo-nb")}));
    EXPECT_EQ(dialog.TemplateCombo()->currentText(), QStringLiteral("Zarvo"));
    ASSERT_EQ(dialog.PaperCombo()->count(), 2);
    EXPECT_EQ(dialog.PaperCombo()->currentText(), QStringLiteral("A4"));
    EXPECT_TRUE(dialog.LandscapeButton()->isChecked());
    EXPECT_EQ(dialog.WidthEdit()->text(), QStringLiteral("29,70"));
    EXPECT_EQ(dialog.HeightEdit()->text(), QStringLiteral("21,00"));
    EXPECT_EQ(dialog.MarginEdit(CDlgPage::IdTop)->text(), QStringLiteral("1,50"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Mise en page"));

    // OK as it opened stores the same paper the right way round.
    dialog.MarginEdit(CDlgPage::IdLeft)->setText(QStringLiteral("1,259"));
    dialog.MarginEdit(CDlgPage::IdRight)->setText(QStringLiteral("1,15")); // never 114
    dialog.OnOk();
    tReportDefinition changed = definition;
    dialog.ApplyTo(changed);
    EXPECT_EQ(changed.PaperWidth, 2100);
    EXPECT_EQ(changed.PaperHeight, 2970);
    EXPECT_FALSE(changed.Portrait);
    EXPECT_EQ(changed.PaperSize, 9);
    EXPECT_EQ(changed.Modele, QStringLiteral("Zarvo"));
    EXPECT_EQ(changed.MargeLeft, 125);
    EXPECT_EQ(changed.MargeRight, 115);
    EXPECT_EQ(changed.MargeTop, 150);
}

TEST_F(PageSetupTest, PaperAndOrientationShowTheirSizesAndThePreviewFollowsTyping)
{
    CDlgPage dialog(definition, user, program);
    dialog.show();
    dialog.PaperCombo()->setCurrentIndex(1);
    EXPECT_EQ(dialog.WidthEdit()->text(), QStringLiteral("27,94"));
    EXPECT_EQ(dialog.HeightEdit()->text(), QStringLiteral("21,59"));
    QTest::mouseClick(dialog.PortraitButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.WidthEdit()->text(), QStringLiteral("21,59"));

    const QImage before = dialog.Preview()->DrawSamplePage();
    CMyEdit *left = dialog.MarginEdit(CDlgPage::IdLeft);
    left->selectAll();
    QTest::keyClicks(left, QStringLiteral("4,5"));
    EXPECT_EQ(dialog.PreviewMargins()[0], 450);
    EXPECT_NE(dialog.Preview()->DrawSamplePage(), before);

    dialog.OnOk();
    tReportDefinition changed = definition;
    dialog.ApplyTo(changed);
    EXPECT_EQ(changed.PaperSize, 1);
    EXPECT_EQ(changed.PaperWidth, 2159);
    EXPECT_EQ(changed.PaperHeight, 2794);
    EXPECT_TRUE(changed.Portrait);
    EXPECT_EQ(changed.MargeLeft, 450);
}

// A report whose title is automatic and was never made (an empty title,
// as the sample reports keep it): the template's sample page shows the
// automatic title of the report's kind and period, as a report whose
// title was typed so shows it, never an empty title.
TEST_F(PageSetupTest, TheSamplePageShowsTheReportsAutomaticTitle)
{
    const struct
    {
        int kind;
        bool detail;
        int period;
        const char *title;
    } cases[] = {
        {0, true, 6, "Détail temps - Semaine en cours"},
        {1, false, 4, "Récapitulatif coûts - Mois en cours"},
        {4, true, 0, "Suivi de projets"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title);
        definition.Type = c.kind;
        definition.Detail = c.detail;
        definition.Periode = c.period;
        definition.TitreAuto = true;
        definition.Titre.clear();
        ASSERT_EQ(definition.AutomaticTitle(), QString::fromUtf8(c.title));
        CDlgPage dialog(definition, user, program);
        const QImage shown = dialog.Preview()->DrawSamplePage();

        // The same page with the title typed as the automatic one, and
        // with none.
        const auto typed = [&](const QString &title) {
            tReportDefinition fixed = definition;
            fixed.TitreAuto = false;
            fixed.Titre = title;
            CPreviewTemplate preview;
            preview.SetTemplateFolders(user, program);
            preview.SetDefinition(&fixed);
            preview.SetMargins(definition.MargeLeft, definition.MargeTop, definition.MargeRight,
                               definition.MargeBottom);
            preview.LoadTemplate(dialog.TemplateCombo()->currentText());
            return preview.DrawSamplePage();
        };
        EXPECT_TRUE(shown == typed(QString::fromUtf8(c.title))) << "the automatic title on the sample page";
        EXPECT_FALSE(shown == typed(QString())) << "a title shows";
    }
}

// Which margin leaves the report no room, on an A4 page 21 cm across and
// 29,7 cm down whose template needs 5 cm down: across, at least 2 cm; down,
// what the template needs. The larger of the two margins of a way is
// named (left and top when equal); a template taller than the paper is
// not the margins' doing, and neither is a paper without margins.
TEST(ReportMarginsTest, TheMarginTooLargeIsNamed)
{
    using namespace ReportMargins;
    const struct
    {
        int width, height;
        int left, top, right, bottom;
        int needed;
        int tooLarge;
        int room;
    } cases[] = {
        {2100, 2970, 100, 100, 100, 100, 500, NoSide, 0},
        {2100, 2970, 950, 100, 950, 100, 500, NoSide, 0},
        {2100, 2970, 1000, 100, 1000, 100, 500, Left, 100},
        {2100, 2970, 100, 100, 1850, 100, 500, Right, 150},
        {2100, 2970, 2200, 100, 0, 100, 500, Left, 0},
        {2100, 2970, 100, 1500, 100, 1000, 500, Top, 470},
        {2100, 2970, 100, 100, 100, 2500, 500, Bottom, 370},
        {2100, 2970, 100, 1235, 100, 1235, 500, NoSide, 0},
        {2100, 2970, 100, 1300, 100, 1300, 500, Top, 370},
        // A template taller than the paper: the margins leave 2 cm.
        {2100, 2970, 100, 100, 100, 100, 4000, NoSide, 0},
        {2100, 2970, 100, 1400, 100, 1400, 4000, Top, 170},
        // No margins on a paper narrower than the least room.
        {150, 2970, 0, 0, 0, 0, 500, NoSide, 0},
    };
    for (const auto &c : cases) {
        const int margins[4] = {c.left, c.top, c.right, c.bottom};
        const tCheck check = Check(c.width, c.height, margins, c.needed);
        SCOPED_TRACE(testing::Message() << c.left << ' ' << c.top << ' ' << c.right << ' ' << c.bottom << " needing "
                                        << c.needed);
        EXPECT_EQ(check.TooLarge, c.tooLarge);
        if (c.tooLarge != NoSide) {
            EXPECT_EQ(check.Room, c.room);
            EXPECT_FALSE(Message(check, u',').isEmpty());
        } else {
            EXPECT_TRUE(Message(check, u',').isEmpty());
        }
    }
    const int margins[4] = {1000, 100, 1000, 100};
    EXPECT_EQ(Message(Check(2100, 2970, margins, 500), u','),
              QStringLiteral("La marge de gauche est trop grande : avec la marge de droite, elle ne laisse au rapport "
                             "que 1,00 cm sur les 21,00 cm de largeur du papier, alors qu'il lui faut au moins "
                             "2,00 cm.\n\nVeuillez la réduire."));
    const int low[4] = {100, 100, 100, 2600};
    EXPECT_TRUE(Message(Check(2100, 2970, low, 500), u',')
                    .startsWith(QStringLiteral("La marge du bas est trop grande : avec la marge du haut, elle ne laisse "
                                               "au rapport que 2,70 cm sur les 29,70 cm de hauteur du papier, alors "
                                               "qu'il lui faut au moins 5,00 cm")));
}

// OK with margins that leave the report no room is refused: the user is
// told which margin is too large, the dialog stays open with that margin
// selected, and the report keeps its margins. In landscape the paper's
// long side goes across. Margins made smaller are taken.
TEST_F(PageSetupTest, MarginsThatLeaveNoRoomAreRefusedNamingTheMargin)
{
    const struct
    {
        bool portrait;
        const char16_t *left, *top, *right, *bottom;
        int edit;           // the margin named and selected; 0: taken
        const char *starts; // the message's start
    } cases[] = {
        {true, u"10,00", u"1,00", u"10,00", u"1,00", CDlgPage::IdLeft, "La marge de gauche est trop grande"},
        {false, u"10,00", u"1,00", u"10,00", u"1,00", 0, nullptr},
        {true, u"1,00", u"1,00", u"19,50", u"1,00", CDlgPage::IdRight, "La marge de droite est trop grande"},
        {false, u"1,00", u"12,00", u"1,00", u"6,00", CDlgPage::IdTop, "La marge du haut est trop grande"},
        {true, u"1,00", u"2,00", u"1,00", u"40,00", CDlgPage::IdBottom, "La marge du bas est trop grande"},
        {true, u"1,00", u"10,00", u"1,00", u"10,00", 0, nullptr},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.starts ? c.starts : "taken");
        MessageBoxAnswers boxes;
        CDlgPage dialog(definition, user, program);
        dialog.show();
        QTest::mouseClick(c.portrait ? dialog.PortraitButton() : dialog.LandscapeButton(), Qt::LeftButton);
        const std::pair<int, const char16_t *> typed[] = {
            {CDlgPage::IdLeft, c.left}, {CDlgPage::IdTop, c.top}, {CDlgPage::IdRight, c.right}, {CDlgPage::IdBottom, c.bottom}};
        for (const auto &[id, text] : typed)
            dialog.MarginEdit(id)->setText(QString::fromUtf16(text));
        if (c.starts)
            boxes.Push(MessageBoxAnswer::Ok);
        dialog.OnOk();
        tReportDefinition changed = definition;
        dialog.ApplyTo(changed);
        if (!c.starts) {
            EXPECT_TRUE(boxes.AskedBoxes().empty());
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            int left = 0;
            ASSERT_TRUE(ReportCentimetres::Parse(QStringView(c.left), u',', left));
            EXPECT_EQ(changed.MargeLeft, left);
            continue;
        }
        ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
        EXPECT_TRUE(boxes.AskedBoxes()[0].text.startsWith(QString::fromUtf8(c.starts)))
            << qPrintable(boxes.AskedBoxes()[0].text);
        EXPECT_EQ(boxes.AskedBoxes()[0].type & MessageBoxType::IconMask, MessageBoxType::IconExclamation);
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.focusWidget(), dialog.MarginEdit(c.edit));
        EXPECT_EQ(dialog.MarginEdit(c.edit)->selectedText(), dialog.MarginEdit(c.edit)->text());
        EXPECT_EQ(changed.MargeLeft, definition.MargeLeft) << "the report keeps its margins";
        EXPECT_EQ(changed.MargeBottom, definition.MargeBottom);
    }
}
