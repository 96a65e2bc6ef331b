// The small option pages (formats, general, report logo, misc, grid,
// project tracking), each in a real frame, driven as a user would.
#include "CBitmapSlider.h"
#include "CConfiguration.h"
#include "CFormattedSpin.h"
#include "CLanguageSelector.h"
#include "COptForecast.h"
#include "COptFormat.h"
#include "COptGeneral.h"
#include "COptLogo.h"
#include "COptMisc.h"
#include "COptMouse.h"
#include "COptionsContext.h"
#include "COptionsDialog.h"
#include "CPrefsDialog.h"
#include "CTransparentImage.h"
#include "Clock.h"
#include "LanguageFixture.h"
#include "MessageBoxAnswers.h"
#include "MessageBoxParams.h"
#include "OptionPageTools.h"
#include "QStringPrinter.h"
#include "RememberedMessageBox.h"
#include "Settings.h"
#include "TestFolders.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

class OptionPagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Platform::Settings settings;
        config.Load(settings);
        context.postChange = [this](int kind) { posted.push_back(kind); };
        context.applyBigIcons = [this](bool big) { bigIcons.push_back(big); };
        CPrefsDialog::SetTranslator([](QWidget *window, int dialogId) { TranslateDialog(window, dialogId); });
    }
    void TearDown() override
    {
        CPrefsDialog::SetTranslator({});
        Platform::Texts::setProvider({});
        Platform::Clock::reset();
    }

    // Opens the frame on the pages given, the first one shown.
    void open(std::initializer_list<CPrefsSubDlg *> pages)
    {
        for (CPrefsSubDlg *page : pages)
            frame.AddPage(page, 0, QStringLiteral("page"));
        frame.show();
    }
    void ok() { QTest::mouseClick(frame.OkButton(), Qt::LeftButton); }
    void cancel() { QTest::mouseClick(frame.CancelButton(), Qt::LeftButton); }

    template<typename W>
    static W *control(QWidget *page, int id)
    {
        W *w = page->findChild<W *>(QString::number(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    // A picture of 8 by 4 pixels written by Qt in `format` under `name`.
    static QString pictureFile(const QString &name, const char *format)
    {
        QImage image(8, 4, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = TestFolders::file(name);
        EXPECT_TRUE(image.save(path, format)) << format;
        return path;
    }
    static int stored(QStringView section, QStringView name)
    {
        Platform::Settings settings;
        return settings.getInt(u"Config", section, name, -99);
    }
    static bool has(QStringView section, QStringView name)
    {
        Platform::Settings settings;
        return settings.contains(u"Config", section, name);
    }

    CConfiguration config;
    COptionsContext context{config};
    std::vector<int> posted;
    std::vector<bool> bigIcons;
    MessageBoxAnswers answers;
    CPrefsDialog frame;
};

} // namespace

TEST_F(OptionPagesTest, FormatsAreStoredAndAnnouncedOnlyWhenOneChanged)
{
    Platform::Clock::setFixedNow(QDateTime(QDate(2024, 3, 5), QTime(12, 0)).toSecsSinceEpoch());
    COptFormat page(context);
    open({&page});
    auto *duration = control<QComboBox>(&page, COptFormat::DurationCombo);
    auto *date = control<QComboBox>(&page, COptFormat::DateCombo);
    EXPECT_EQ(duration->count(), 3);
    EXPECT_EQ(control<QLabel>(&page, COptFormat::DurationExample)->text(), QStringLiteral("Exemple : 2:42"));
    EXPECT_EQ(date->currentIndex(), 1); // long dates by default

    // OK without a change writes nothing and tells nobody.
    ok();
    EXPECT_TRUE(posted.empty());
    EXPECT_FALSE(has(u"Format", u"Date"));
    EXPECT_FALSE(has(u"Format", u"Duree"));

    // A changed date form writes the three values and tells the tray once.
    COptFormat again(context);
    CPrefsDialog second;
    second.AddPage(&again, 0, QStringLiteral("page"));
    second.show();
    auto *date2 = control<QComboBox>(&again, COptFormat::DateCombo);
    date2->setFocus();
    QTest::keyClick(date2, Qt::Key_Up);
    EXPECT_EQ(date2->currentIndex(), 0);
    EXPECT_EQ(control<QLabel>(&again, COptFormat::DateExample)->text(),
              QStringLiteral("Exemple : ") + config.FormatDate(Platform::Clock::now(), false));
    QTest::mouseClick(second.OkButton(), Qt::LeftButton);
    EXPECT_EQ(posted, std::vector<int>{4});
    EXPECT_EQ(stored(u"Format", u"Date"), 0);
    EXPECT_EQ(stored(u"Format", u"Duree"), 0);
    Platform::Settings settings;
    EXPECT_EQ(settings.getString(u"Config", u"Format", u"sDuree"), QStringLiteral("%1!d!:%2!02d!"));
    EXPECT_FALSE(config.longDates);
}

TEST_F(OptionPagesTest, ADurationTextWithoutItsPatternOffersNoEntryAndTheOthersKeepTheirNumber)
{
    Platform::Texts::setProvider([](int id) {
        return id == 212 ? QStringLiteral("heures et minutes") : QString();
    });
    COptFormat page(context);
    open({&page});
    auto *duration = control<QComboBox>(&page, COptFormat::DurationCombo);
    ASSERT_EQ(duration->count(), 2);
    EXPECT_EQ(duration->itemData(0).toInt(), 0);
    EXPECT_EQ(duration->itemData(1).toInt(), 2);
    duration->setFocus();
    QTest::keyClick(duration, Qt::Key_Down);
    EXPECT_EQ(control<QLabel>(&page, COptFormat::DurationExample)->text(), QStringLiteral("Exemple : 2 h 42 min"));
    ok();
    EXPECT_EQ(config.durationCode, 2);
    EXPECT_EQ(config.durationPattern, QStringLiteral("%1!d! h %2!02d! min"));
    EXPECT_EQ(stored(u"Format", u"Duree"), 2);
    EXPECT_EQ(posted, std::vector<int>{4});
}

TEST_F(OptionPagesTest, ALanguageChosenHoldsAtOnceSurvivesCancelAndTranslatesTheBuiltPagesOnly)
{
    const QString folder = LanguageFixture::programFolder();
    LanguageFixture english = LanguageFixture::Language(1033);
    english.dialogs = {{520, 1458, QStringLiteral("Snap tasks to the grid")}, {493, 1370, QStringLiteral("Big icons")}};
    english.infos = {{QStringLiteral("AuthorName"), QStringLiteral("Jo Translator")},
                     {QStringLiteral("AuthorEmail"), QStringLiteral("jo@example.org")}};
    english.write(folder, QStringLiteral("Enu"));
    CLanguageSelector languages(folder + QStringLiteral("Zarvo"));
    std::vector<int> languagePosts;
    languages.SetChangePoster([&](int kind) { languagePosts.push_back(kind); });
    languages.SetLanguage(1036);
    ASSERT_TRUE(languages.ScanLanguages());
    CLanguageSelector::SetApplication(&languages);
    context.languages = &languages;
    int applicationTranslations = 0;
    context.retranslateApplication = [&] { ++applicationTranslations; };

    COptGeneral general(context);
    COptMouse mouse(context);
    COptMisc misc(context);
    open({&general, &mouse, &misc});
    frame.ShowPage(1);
    frame.ShowPage(0);
    // French has no credits.
    EXPECT_TRUE(control<QGroupBox>(&general, COptGeneral::CreditsGroup)->isHidden());

    auto *combo = control<QComboBox>(&general, COptGeneral::LanguageCombo);
    ASSERT_EQ(combo->count(), 2);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(languages.GetLanguage(), 1033);
    EXPECT_EQ(languagePosts, std::vector<int>{2});
    EXPECT_EQ(applicationTranslations, 1);
    // The page shown before took the new texts; the page never shown was
    // not built for it.
    EXPECT_EQ(control<QCheckBox>(&mouse, COptMouse::SnapCheck)->text(), QStringLiteral("Snap tasks to the grid"));
    EXPECT_FALSE(misc.IsCreated());
    EXPECT_FALSE(control<QGroupBox>(&general, COptGeneral::CreditsGroup)->isHidden());
    EXPECT_EQ(general.findChild<QLabel *>(QString::number(COptGeneral::CreditsValues))->text(),
              QStringLiteral(": Jo Translator\n: jo@example.org"));

    cancel();
    EXPECT_EQ(languages.GetLanguage(), 1033);
    Platform::Settings settings;
    EXPECT_EQ(settings.getInt(u"", u"", u"LanguageId", -1), 1033);
    CLanguageSelector::SetApplication(nullptr);
}

TEST_F(OptionPagesTest, TheLogoRowsBrowseThroughTheSeamAndOkStoresSixValues)
{
    const QString logoFile = pictureFile(QStringLiteral("logo.jpg"), "JPEG");
    QStringList asked;
    context.openFileName = [&](QWidget *, const QString &start, const QString &filter) {
        asked << start << filter;
        return logoFile;
    };
    config.reportTextFile = QStringLiteral("/docs/en-tête.rtf");
    config.reportTextPos = 7; // not a place: shows the first
    COptLogo page(context);
    open({&page});
    auto *logoCheck = control<QCheckBox>(&page, COptLogo::LogoCheck);
    auto *logoBrowse = control<QPushButton>(&page, COptLogo::LogoBrowse);
    auto *logoPosition = control<QComboBox>(&page, COptLogo::LogoPosition);
    EXPECT_FALSE(logoBrowse->isEnabled());
    EXPECT_FALSE(logoPosition->isEnabled());
    EXPECT_EQ(control<QComboBox>(&page, COptLogo::TextPosition)->currentIndex(), 0);

    // On its box: the check box spans the page, and its middle lies past
    // its text, where a click does nothing.
    QTest::mouseClick(logoCheck, Qt::LeftButton, {}, QPoint(8, logoCheck->height() / 2));
    EXPECT_TRUE(logoBrowse->isEnabled());
    EXPECT_TRUE(logoPosition->isEnabled());
    control<QLineEdit>(&page, COptLogo::LogoEdit)->setText(QStringLiteral("/old/logo.bmp"));
    QTest::mouseClick(logoBrowse, Qt::LeftButton);
    // Only the formats the reports draw are offered.
    EXPECT_EQ(asked, (QStringList{QStringLiteral("/old/logo.bmp"),
                                  QStringLiteral("Fichiers image (*.bmp *.gif *.jpg *.jpeg *.ico);;Tous les "
                                                 "fichiers (*)")}));
    EXPECT_EQ(control<QLineEdit>(&page, COptLogo::LogoEdit)->text(), logoFile);
    logoPosition->setFocus();
    QTest::keyClick(logoPosition, Qt::Key_Down);

    ok();
    EXPECT_TRUE(config.reportLogo);
    EXPECT_EQ(config.reportLogoFile, logoFile);
    EXPECT_EQ(stored(u"Reports", u"Logo"), 1);
    EXPECT_EQ(stored(u"Reports", u"PosLogo"), 1);
    EXPECT_EQ(stored(u"Reports", u"Text"), 0);
    EXPECT_EQ(stored(u"Reports", u"PosText"), 0);
    Platform::Settings settings;
    EXPECT_EQ(settings.getString(u"Config", u"Reports", u"FicLogo"), logoFile);
    EXPECT_EQ(settings.getString(u"Config", u"Reports", u"FicText"), QStringLiteral("/docs/en-tête.rtf"));
}

// A logo file the reports cannot draw is told and not taken: chosen in the
// file dialog, the row keeps its file; typed, OK stays on the page and
// stores nothing. With the logo off, or no file, nothing is checked.
TEST_F(OptionPagesTest, ALogoTheReportsCannotDrawIsToldAndNotTaken)
{
    const QString bmp = pictureFile(QStringLiteral("logo.bmp"), "BMP");
    // One white pixel: Qt writes no GIF.
    const QString gif = TestFolders::writeFile(
        QStringLiteral("logo.gif"),
        QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b"));
    const QString png = pictureFile(QStringLiteral("logo.png"), "PNG");
    const QString bmpNamedJpeg = pictureFile(QStringLiteral("bmp.jpg"), "BMP");
    const QString text = TestFolders::writeFile(QStringLiteral("notes.bmp"), "pas une image");
    const QString missing = TestFolders::file(QStringLiteral("absent.bmp"));
    const QString unreadable = QStringLiteral("Le fichier « %1 » ne peut pas être lu comme une image.\n\nLe logo "
                                              "des rapports peut être une image BMP, GIF, JPEG ou ICO.");
    const struct
    {
        const char *what;
        QString file;
        bool drawn;
    } cases[] = {
        {"a BMP", bmp, true},          {"a GIF", gif, true},
        {"a PNG", png, false},         {"a BMP named .jpg, read by its content", bmpNamedJpeg, true},
        {"a text file", text, false}, {"a missing file", missing, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CConfiguration::IsDrawableLogo(c.file), c.drawn);
        MessageBoxAnswers boxes;
        config.reportLogo = true;
        config.reportLogoFile = bmp;
        context.openFileName = [&](QWidget *, const QString &, const QString &) { return c.file; };
        CPrefsDialog options;
        COptLogo page(context);
        options.AddPage(&page, 0, QStringLiteral("page"));
        options.show();
        auto *edit = control<QLineEdit>(&page, COptLogo::LogoEdit);
        if (!c.drawn)
            boxes.Push(MessageBoxAnswer::Ok);
        QTest::mouseClick(control<QPushButton>(&page, COptLogo::LogoBrowse), Qt::LeftButton);
        EXPECT_EQ(edit->text(), c.drawn ? c.file : bmp);
        ASSERT_EQ(boxes.AskedBoxes().size(), c.drawn ? 0u : 1u);
        if (!c.drawn) {
            EXPECT_EQ(boxes.AskedBoxes()[0].text, unreadable.arg(QDir::toNativeSeparators(c.file)));
        }

        // Typed by hand, then OK.
        edit->setText(c.file);
        if (!c.drawn)
            boxes.Push(MessageBoxAnswer::Ok);
        QTest::mouseClick(options.OkButton(), Qt::LeftButton);
        EXPECT_EQ(options.isVisible(), !c.drawn);
        EXPECT_EQ(boxes.AskedBoxes().size(), c.drawn ? 0u : 2u);
        EXPECT_EQ(config.reportLogoFile, c.drawn ? c.file : bmp);
        if (!c.drawn) {
            // Off, or emptied: OK takes it.
            control<QCheckBox>(&page, COptLogo::LogoCheck)->setChecked(false);
            QTest::mouseClick(options.OkButton(), Qt::LeftButton);
            EXPECT_FALSE(options.isVisible());
            EXPECT_FALSE(config.reportLogo);
        }
    }
}

TEST(OptionPageToolsTest, FileFiltersBecomeQtFilters)
{
    struct Case
    {
        const char *given;
        const char *expected;
    };
    const Case cases[] = {
        {"Fichiers Rtf|*.rtf||", "Fichiers Rtf (*.rtf)"},
        {"Images|*.bmp;*.gif|Tous|*.*||", "Images (*.bmp *.gif);;Tous (*)"},
        {"Sans fin|*.txt", "Sans fin (*.txt)"},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(OptionPageTools::ConvertFileFilter(QString::fromUtf8(c.given)), QString::fromUtf8(c.expected));
}

TEST_F(OptionPagesTest, BigIconsApplyAtOnceAndForgettingAnswersMakesARememberedQuestionAskAgain)
{
    const auto ask = [] {
        return RememberedMessageBox(QStringLiteral("Supprimer ?"), QStringLiteral("Zarvo"), nullptr, 8, 0,
                                    MessageBoxType::YesNo | MessageBoxType::IconQuestion);
    };
    answers.Push(MessageBoxAnswer::Yes, true);
    EXPECT_EQ(ask(), MessageBoxAnswer::Yes);
    EXPECT_EQ(ask(), MessageBoxAnswer::Yes); // remembered: not asked
    ASSERT_EQ(answers.AskedBoxes().size(), 1u);

    COptMisc page(context);
    open({&page});
    QTest::mouseClick(control<QCheckBox>(&page, COptMisc::BigIconsCheck), Qt::LeftButton);
    EXPECT_EQ(bigIcons, std::vector<bool>{true});
    EXPECT_TRUE(config.bigIcon);
    QTest::mouseClick(control<QPushButton>(&page, COptMisc::RestoreQuestions), Qt::LeftButton);
    answers.Push(MessageBoxAnswer::No);
    EXPECT_EQ(ask(), MessageBoxAnswer::No);
    EXPECT_EQ(answers.AskedBoxes().size(), 2u);
    // The forgetting is done; only the big-icons flag waits for OK.
    EXPECT_FALSE(has(u"Misc", u"BigIcon"));
    ok();
    EXPECT_EQ(stored(u"Misc", u"BigIcon"), 1);
}

TEST_F(OptionPagesTest, TheGridOffersThreeStepsAndTheHintFollowsTheBox)
{
    struct Case
    {
        int storedGrid;
        int shownEntry;
        int storedOnOk;
    };
    const Case cases[] = {{7, 0, 5}, {10, 1, 10}, {15, 2, 15}, {5, 0, 5}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.storedGrid);
        config.grid = c.storedGrid;
        COptMouse page(context);
        CPrefsDialog dialog;
        dialog.AddPage(&page, 0, QStringLiteral("page"));
        dialog.show();
        EXPECT_EQ(control<QComboBox>(&page, COptMouse::GridCombo)->currentIndex(), c.shownEntry);
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_EQ(stored(u"Align", u"Grid"), c.storedOnOk);
    }

    COptMouse page(context);
    open({&page});
    auto *snap = control<QCheckBox>(&page, COptMouse::SnapCheck);
    auto *hint = control<QLabel>(&page, COptMouse::Hint);
    EXPECT_FALSE(snap->isChecked());
    EXPECT_EQ(hint->text(), Platform::Texts::get(684));
    QTest::mouseClick(snap, Qt::LeftButton);
    EXPECT_EQ(hint->text(), Platform::Texts::get(683));
    EXPECT_EQ(control<CTransparentImage>(&page, COptMouse::Picture)->TransparentColor(), 0x00FFFFu);
    ok();
    EXPECT_EQ(stored(u"Align", u"SnapToGrid"), 1);
    EXPECT_TRUE(config.snapToGrid);
}

TEST_F(OptionPagesTest, TheUntrackedShareComesFromTheSliderAndItsArrowsNeverFromTyping)
{
    config.pctNonComptabilise = 20;
    config.showActivities = false;
    config.forecastRunningOnActivity = true;
    COptForecast page(context);
    open({&page});
    auto *slider = control<CBitmapSlider>(&page, COptForecast::ShareSlider);
    auto *spin = control<CFormattedSpin>(&page, COptForecast::ShareSpin);
    EXPECT_EQ(slider->GetPos(), 20);
    EXPECT_EQ(spin->text(), QStringLiteral("20 %"));

    // The arrows move the slider; typing changes nothing.
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_Up);
    EXPECT_EQ(slider->GetPos(), 21);
    QTest::keyClicks(spin, QStringLiteral("77"));
    EXPECT_EQ(spin->value(), 21);
    // The slider's keys move the spin.
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_EQ(spin->value(), slider->GetPos());
    EXPECT_EQ(spin->text(), QStringLiteral("%1 %").arg(slider->GetPos()));
    const int share = slider->GetPos();

    // The undefined activity is a node only with the activities.
    auto *activities = control<QCheckBox>(&page, COptForecast::ActivitiesCheck);
    auto *undefined = control<QCheckBox>(&page, COptForecast::UndefinedActivityCheck);
    EXPECT_FALSE(undefined->isEnabled());
    EXPECT_FALSE(undefined->isChecked());
    QTest::mouseClick(activities, Qt::LeftButton);
    EXPECT_TRUE(undefined->isEnabled());
    EXPECT_TRUE(undefined->isChecked()); // the flag in memory
    QTest::mouseClick(undefined, Qt::LeftButton);

    ok();
    EXPECT_EQ(stored(u"Forecast", u"PctNonComptabilise"), share);
    EXPECT_EQ(stored(u"Forecast", u"ShowActivities"), 1);
    EXPECT_EQ(stored(u"Forecast", u"IconOrText"), 2);
    EXPECT_FALSE(config.forecastRunningOnActivity);
    // The undefined-activity flag lives in memory only.
    Platform::Settings settings;
    for (const QString &key : settings.allKeys())
        EXPECT_FALSE(key.contains(QStringLiteral("Forecast/Afficher")));
    EXPECT_EQ(settings.allKeys().filter(QStringLiteral("Config/Forecast/")).size(), 5);
}

TEST_F(OptionPagesTest, TheOptionsDialogBuildsThePagesAskedForInTheirOrder)
{
    QList<COptionsDialog::PageEntry> pages;
    for (const int id : {110, 622, 210, 561, 4242})
        pages.append(COptionsDialog::PageEntry{id, QStringLiteral("page %1").arg(id)});
    int runs = 0;
    COptionsDialog::SetRunner([&](CPrefsDialog &shown) {
        ++runs;
        shown.InitDialog();
        // Only the pages that exist, in the order asked, the one asked shown.
        EXPECT_EQ(shown.PageCount(), 4);
        EXPECT_EQ(shown.PageCaption(0), QStringLiteral("page 110"));
        EXPECT_EQ(shown.PageCaption(3), QStringLiteral("page 561"));
        EXPECT_EQ(shown.CurrentPage(), 3);
        EXPECT_EQ(shown.windowTitle(), Platform::Texts::get(198));
        return runs == 1 ? 1 : 2;
    });
    EXPECT_TRUE(COptionsDialog::Run(nullptr, context, pages, 3));
    EXPECT_FALSE(COptionsDialog::Run(nullptr, context, pages, 3));
    COptionsDialog::SetRunner({});
}
