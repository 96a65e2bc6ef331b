// The report handed to the desktop's spreadsheet program: a file of the
// user's own folder under the report's name, opened through the
// desktop's opener, typed as the spreadsheet export types it; an opener
// that fails, a folder that cannot be written, a second export.
#include "DesktopOpen.h"
#include "ExportFixture.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "ReadBack.h"
#include "ReportCalcExport.h"
#include "TestFolders.h"
#include "Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QUrl>

namespace {

class CalcExportTest : public ExportFixture
{
protected:
    void SetUp() override
    {
        ExportFixture::SetUp();
        Platform::SetUrlOpener([this](const QUrl &url) {
            opened << url.toLocalFile();
            return openerWorks;
        });
    }
    void TearDown() override
    {
        Platform::SetUrlOpener({});
        ExportFixture::TearDown();
    }

    QStringList opened;
    bool openerWorks = true;
};

} // namespace

TEST_F(CalcExportTest, TheSheetIsANewFileOfTheUsersFolderOpenedByTheDesktop)
{
    definition.Nom = QStringLiteral("Bilan 2024");
    build({entry(1, At(2024, 3, 1, 9), 5400, 3, 5, QStringLiteral("2024"))});
    const QString folder = ReportCalcExport::SheetFolder();
    ASSERT_FALSE(folder.isEmpty());
    // Below the user's own home, readable by the user alone.
    EXPECT_TRUE(QFileInfo(folder).absoluteFilePath().startsWith(QDir::homePath()));
    EXPECT_EQ(QFileInfo(folder).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);

    QString first;
    EXPECT_EQ(ReportCalcExport::Export(model, 1, folder, first), ReportCalcExport::Outcome::Opened);
    EXPECT_EQ(QFileInfo(first).fileName(), QStringLiteral("Bilan 2024.xls"));
    ASSERT_EQ(opened, QStringList{first});
    EXPECT_EQ(QFileInfo(first).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);

    // Read back: captions and the title as text ("2024" stays text), the
    // duration a number shown as hours.
    const ReadBack::Check check = ReadBack::read(first);
    if (check.ran) {
        ReadBack::expectCleanLog(check.result);
        const QJsonObject sheet = check.result.value("sheets").toArray().at(0).toObject();
        const auto cells = ReadBack::cellsOf(sheet);
        const QStringList captions = model.GetColumnCaptions();
        EXPECT_EQ(cells.at({0, 0}).value.toString(), captions.value(0));
        bool titleAsText = false;
        bool durationAsNumber = false;
        for (const auto &[place, cell] : cells) {
            if (cell.value.toString() == QStringLiteral("2024"))
                titleAsText = cell.type == 1;
            if (place.first > 0 && std::abs(cell.value.toDouble() - 1.5 / 24) < 1e-9)
                durationAsNumber = true;
        }
        EXPECT_TRUE(titleAsText);
        EXPECT_TRUE(durationAsNumber);
    }

    // A second export keeps the first file and opens a new one.
    QString second;
    EXPECT_EQ(ReportCalcExport::Export(model, 1, folder, second), ReportCalcExport::Outcome::Opened);
    EXPECT_NE(second, first);
    EXPECT_EQ(QFileInfo(second).fileName(), QStringLiteral("Bilan 2024 (2).xls"));
    EXPECT_TRUE(QFile::exists(first));
}

// Without a spreadsheet program (nothing opens the file), the user is told
// that the report was written and where: the file's name and its folder,
// in the user's own cache where they would not look.
TEST_F(CalcExportTest, AnOpenerThatFailsOrAFolderThatCannotBeWrittenAreTold)
{
    definition.Nom = QStringLiteral("Bilan d'équipe");
    build(trickyEntries());
    openerWorks = false;
    MessageBoxAnswers boxes;
    boxes.Push(MessageBoxAnswer::Ok);
    EXPECT_TRUE(ReportCalcExport::Run(nullptr, model, 1)) << "the file was written";
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(QFile::exists(opened[0]));
    const QString folder = QDir::toNativeSeparators(ReportCalcExport::SheetFolder());
    EXPECT_EQ(QFileInfo(opened[0]).absolutePath(), ReportCalcExport::SheetFolder());
    EXPECT_EQ(boxes.AskedBoxes()[0].text,
              QStringLiteral("Aucun tableur n'a pu ouvrir le rapport exporté.\n\nIl a été enregistré dans le fichier "
                             "« Bilan d'équipe.xls » du dossier :\n%1\n\nVous pouvez l'ouvrir depuis ce dossier avec "
                             "un tableur.")
                  .arg(folder));
    EXPECT_TRUE(folder.startsWith(QDir::toNativeSeparators(QDir::homePath())));
    EXPECT_EQ(boxes.AskedBoxes()[0].type & MessageBoxType::IconMask, MessageBoxType::IconExclamation);

    // A folder that is a file: nothing written, nothing opened.
    const QString blocked = TestFolders::writeFile(QStringLiteral("blocked"), "x");
    QString path;
    EXPECT_EQ(ReportCalcExport::Export(model, 1, blocked, path), ReportCalcExport::Outcome::WriteFailed);
    EXPECT_EQ(opened.size(), 1);
}
