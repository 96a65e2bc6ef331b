// The export options: the formats' places in the list with and without the
// office suite, the separators, and the dialog that asks them.
#include "CDlgExport.h"
#include "CReadOnlyCB.h"
#include "CTranslationStore.h"
#include "DialogAnswers.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "QStringPrinter.h"
#include "ReportExportOptions.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QLineEdit>
#include <QLabel>

#include <gtest/gtest.h>

using Options = ReportExportOptions;

TEST(ExportOptionsTest, FormatsAndTheirItems)
{
    struct Case
    {
        bool officeSuite;
        int format;
        int index;      // the item showing the format
        int roundTrip;  // the format that item stands for
    };
    const Case cases[] = {
        {true, Options::Spreadsheet, 1, Options::Spreadsheet},
        {true, Options::OfficeSuite, 0, Options::OfficeSuite},
        {true, Options::Csv, 2, Options::Csv},
        {true, 7, 0, Options::OfficeSuite}, // any other format: the first item
        {false, Options::Spreadsheet, 0, Options::Spreadsheet},
        {false, Options::OfficeSuite, 0, Options::Spreadsheet}, // not offered
        {false, Options::Csv, 1, Options::Csv},
        {false, -1, 0, Options::Spreadsheet},
    };
    for (const Case &c : cases) {
        const int index = Options::IndexOfFormat(c.format, c.officeSuite);
        EXPECT_EQ(index, c.index) << c.format << " office suite " << c.officeSuite;
        EXPECT_EQ(Options::FormatOfIndex(index, c.officeSuite), c.roundTrip) << c.format;
    }
    EXPECT_EQ(Options::Formats(true), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(Options::FormatOfIndex(5, true), Options::OfficeSuite);
    EXPECT_EQ(Options::FormatText(Options::OfficeSuite), 320);
    EXPECT_EQ(Options::FormatText(Options::Spreadsheet), 319);
    EXPECT_EQ(Options::FormatText(Options::Csv), 321);
}

TEST(ExportOptionsTest, Separators)
{
    EXPECT_EQ(Options::SeparatorOf(Options::TabItem, "x"), QStringLiteral("\t"));
    EXPECT_EQ(Options::SeparatorOf(Options::SemicolonItem, "x"), QStringLiteral(";"));
    EXPECT_EQ(Options::SeparatorOf(Options::OtherItem, "||"), QStringLiteral("||"));
    EXPECT_EQ(Options::SeparatorOf(Options::OtherItem, ""), QString());
    struct Case
    {
        const char16_t *separator;
        bool usable;
    };
    const Case cases[] = {{u"|", true}, {u",", true}, {u" ", true}, {u"::", true}, {u"\u00A7", true},
                          {u"", false}, {u"\"", false}, {u"a\"", false}, {u"\n", false}, {u"\r", false}};
    for (const Case &c : cases)
        EXPECT_EQ(Options::IsUsableSeparator(QString::fromUtf16(c.separator)), c.usable)
            << QString::fromUtf16(c.separator).toStdString();
}

namespace {

QStringList items(const QComboBox *combo)
{
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
        out << combo->itemText(i);
    return out;
}

} // namespace

TEST(ExportDialogTest, OpensOnTheGivenFormatAndGivesTheChosenOne)
{
    CDlgExport dialog;
    dialog.SetOfficeSuite(true);
    dialog.SetFormat(Options::Spreadsheet);
    dialog.Fill();
    EXPECT_EQ(items(dialog.FormatCombo()),
              (QStringList{"Tableur du bureau (LibreOffice Calc)", "Microsoft Excel (*.xls)",
                           "Fichier texte avec séparateur (*.csv)"}));
    EXPECT_EQ(dialog.FormatCombo()->currentText(), QStringLiteral("Microsoft Excel (*.xls)"));
    EXPECT_EQ(dialog.DataCombo()->count(), 3);
    EXPECT_TRUE(dialog.SeparatorCombo()->isHidden());
    dialog.FormatCombo()->setCurrentIndex(0);
    dialog.DataCombo()->setCurrentIndex(2);
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetFormat(), Options::OfficeSuite);
    EXPECT_EQ(dialog.GetMode(), Options::EntriesOnly);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Exportation"));
    CTranslationStore store;
    EXPECT_EQ(ControlsWithoutText(&dialog, store, CDlgExport::DialogId), QList<int>{});
}

TEST(ExportDialogTest, ProjectTrackingOffersNoEntryRowsAndNoOfficeSuiteUntilOneIsThere)
{
    CDlgExport dialog;
    dialog.SetOfferEntries(false);
    dialog.SetFormat(Options::OfficeSuite);
    dialog.Fill();
    EXPECT_EQ(items(dialog.DataCombo()), (QStringList{Platform::Texts::get(323), Platform::Texts::get(324)}));
    EXPECT_EQ(dialog.FormatCombo()->count(), 2);
    EXPECT_EQ(dialog.FormatCombo()->currentText(), QStringLiteral("Microsoft Excel (*.xls)"));
}

TEST(ExportDialogTest, TheSeparatorShowsForTextAndAnOtherOneMustBeReadable)
{
    CDlgExport dialog;
    dialog.SetFormat(Options::Csv);
    dialog.Fill();
    EXPECT_FALSE(dialog.SeparatorCombo()->isHidden());
    EXPECT_FALSE(dialog.SeparatorLabel()->isHidden());
    EXPECT_TRUE(dialog.SeparatorEdit()->isHidden());
    EXPECT_EQ(items(dialog.SeparatorCombo()), (QStringList{"Tabulation", ";", "Autre…"}));
    dialog.SeparatorCombo()->setCurrentIndex(Options::OtherItem);
    EXPECT_FALSE(dialog.SeparatorEdit()->isHidden());
    dialog.FormatCombo()->setCurrentIndex(0);
    EXPECT_TRUE(dialog.SeparatorCombo()->isHidden());
    EXPECT_TRUE(dialog.SeparatorEdit()->isHidden());
    dialog.FormatCombo()->setCurrentIndex(1);
    EXPECT_FALSE(dialog.SeparatorEdit()->isHidden());

    // An empty separator, or one with a quote, is refused with a message
    // and the dialog stays open.
    for (const QString &bad : {QString(), QStringLiteral("a\"b")}) {
        MessageBoxAnswers answers;
        answers.Push(MessageBoxAnswer::Ok);
        dialog.SeparatorEdit()->setText(bad);
        dialog.OnOk();
        ASSERT_EQ(answers.AskedBoxes().size(), 1u);
        EXPECT_EQ(answers.AskedBoxes()[0].text, Platform::Texts::get(21400));
        EXPECT_EQ(dialog.result(), 0) << bad.toStdString();
    }
    dialog.SeparatorEdit()->setText(QStringLiteral("|"));
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetFormat(), Options::Csv);
    EXPECT_EQ(dialog.GetSeparator(), QStringLiteral("|"));
}

TEST(ExportDialogTest, TheTabIsTheFirstSeparator)
{
    DialogAnswers<CDlgExport> answers;
    answers.Push([](CDlgExport &dialog) {
        dialog.OnOk();
        return dialog.result();
    });
    CDlgExport dialog;
    dialog.SetFormat(Options::Csv);
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetSeparator(), QStringLiteral("\t"));
    EXPECT_EQ(dialog.GetMode(), Options::AsShown);
}
