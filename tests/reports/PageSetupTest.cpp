// The page setup dialog: the templates of both folders, landscape's swapped sizes,
// the preview following the margins typed, and Annuler changing nothing.
#include "CAppData.h"
#include "CConfiguration.h"
#include "CDlgPage.h"
#include "CMyEdit.h"
#include "CPreviewTemplate.h"
#include "CReadOnlyCB.h"
#include "CReportPapers.h"
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
