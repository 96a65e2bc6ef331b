#include "CFileVersionInfo.h"
#include "CFolderDialog.h"
#include "QStringPrinter.h"
#include "TestFolders.h"
#include "ZarvoVersion.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

TEST(FileVersionInfoTest, ProgramVersionAndTexts)
{
    CFileVersionInfo info;
    ASSERT_TRUE(info.Create());
    EXPECT_EQ(info.Fixed().signature, 0xFEEF04BDu);
    EXPECT_EQ(info.Fixed().fileVersionMS, (quint32(ZARVO_VERSION_MAJOR) << 16) | ZARVO_VERSION_MINOR);
    EXPECT_EQ(info.Fixed().fileVersionLS, (quint32(ZARVO_VERSION_PATCH) << 16) | ZARVO_VERSION_TWEAK);
    EXPECT_EQ(info.Fixed().productVersionMS, info.Fixed().fileVersionMS);
    EXPECT_EQ(info.GetText(CFileVersionInfo::CompanyName), QStringLiteral("Quellmark"));
    EXPECT_EQ(info.GetText(CFileVersionInfo::ProductName), QStringLiteral("Zarvo"));
    EXPECT_EQ(info.GetText(CFileVersionInfo::FileVersion), QStringLiteral(ZARVO_VERSION_TEXT));
    EXPECT_EQ(info.GetText(CFileVersionInfo::SpecialBuild), QString());
    EXPECT_EQ(CFileVersionInfo::TextKey(CFileVersionInfo::OriginalFileName), QStringLiteral("OriginalFileName"));

    // Its own file by path reads the same; any other file has no block and
    // leaves everything reset, also after a successful read.
    CFileVersionInfo byPath;
    EXPECT_TRUE(byPath.Create(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(byPath.Fixed(), info.Fixed());
    for (const QString &other : {TestFolders::writeFile(QStringLiteral("other.exe"), "MZ"), QString(),
                                 TestFolders::file(QStringLiteral("missing"))}) {
        EXPECT_FALSE(byPath.Create(other));
        EXPECT_EQ(byPath.Fixed(), CFileVersionInfo::FixedInfo());
        EXPECT_EQ(byPath.GetText(CFileVersionInfo::CompanyName), QString());
    }
}

TEST(FileVersionInfoTest, LanguageChoice)
{
    using T = CFileVersionInfo::Translation;
    struct Case
    {
        QList<T> list;
        quint16 user;
        int chosen;
    };
    const Case cases[] = {
        {{}, 0x040C, -1},
        {{{0x0409, 1200}, {0x040C, 1200}}, 0x040C, 1},      // exact language
        {{{0x0409, 1200}, {0x080C, 1252}}, 0x040C, 1},      // same primary language (Belgian French)
        {{{0x0407, 1200}, {0x0000, 1200}}, 0x040C, 1},      // neutral
        {{{0x0407, 1200}, {0x0809, 1200}}, 0x040C, 1},      // English as the fallback
        {{{0x0409, 1200}}, 0x040C, 0},                      // only English, for a French user
        {{{0x0407, 1200}, {0x0410, 1200}}, 0x040C, 0},      // else the first
        {{{0x0C0C, 1200}, {0x040C, 1200}}, 0x040C, 1},      // exact beats primary
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.list.size());
        EXPECT_EQ(CFileVersionInfo::ChooseTranslation(c.list, c.user), c.chosen);
    }
}

class FolderDialogTest : public ::testing::Test
{
protected:
    void TearDown() override { CFolderDialog::SetPicker({}); }
};

TEST_F(FolderDialogTest, ChosenOrCancelled)
{
    QString askedTitle, askedInitial;
    QString answer = QStringLiteral("/home/anne/Zarvo");
    CFolderDialog::SetPicker([&](QWidget *, const QString &title, const QString &initial) {
        askedTitle = title;
        askedInitial = initial;
        return answer;
    });
    CFolderDialog chosen(QStringLiteral("/data"), QStringLiteral("Dossier des données"));
    EXPECT_EQ(chosen.GetFolderPath(), QStringLiteral("/data"));
    EXPECT_EQ(chosen.DoModal(), 1);
    EXPECT_EQ(chosen.GetFolderPath(), answer);
    EXPECT_EQ(askedTitle, QStringLiteral("Dossier des données"));
    EXPECT_EQ(askedInitial, QStringLiteral("/data"));

    // Cancelled (after browsing elsewhere): the initial folder stays, also
    // when the same dialog had an answer before.
    answer.clear();
    EXPECT_EQ(chosen.DoModal(), 2);
    EXPECT_EQ(chosen.GetFolderPath(), QStringLiteral("/data"));
    CFolderDialog empty;
    EXPECT_EQ(empty.DoModal(), 2);
    EXPECT_EQ(empty.GetFolderPath(), QString());
}

} // namespace
