// Qt's own texts follow the interface language of the application: the
// buttons of a file dialog read "Annuler" in French, and Qt's English comes
// back, quietly, for a language Qt has no translation of.
#include "CLanguageSelector.h"
#include "LanguageFixture.h"
#include "QStringPrinter.h"
#include "QtTranslation.h"
#include "Settings.h"

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The Cancel button of Qt's own file dialog, made now.
QString fileDialogCancel()
{
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *buttons = dialog.findChild<QDialogButtonBox *>();
    if (!buttons || !buttons->button(QDialogButtonBox::Cancel))
        return QStringLiteral("<no Cancel button>");
    return buttons->button(QDialogButtonBox::Cancel)->text();
}

// The entries of a text field's context menu, without their keys.
QStringList fieldMenu()
{
    QLineEdit field;
    std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList entries;
    for (const QAction *action : menu->actions())
        if (!action->isSeparator())
            entries << action->text().section(u'\t', 0, 0);
    return entries;
}

// What Qt's print dialog shows of double-sided printing: the group's
// title and its three choices.
QStringList duplexTexts()
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    QStringList texts;
    const QGroupBox *group = dialog.findChild<QGroupBox *>(QStringLiteral("duplex"));
    texts << (group ? group->title() : QStringLiteral("<no duplex group>"));
    for (const char *name : {"noDuplex", "duplexLong", "duplexShort"}) {
        const QRadioButton *choice = dialog.findChild<QRadioButton *>(QString::fromLatin1(name));
        texts << (choice ? choice->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name)));
    }
    return texts;
}

// What Qt's printer properties dialog shows, opened by the print dialog's
// "Properties" button: its title and the title of its tab of advanced
// options. The dialog is read and closed as soon as its modal loop runs.
QStringList printerPropertiesTexts()
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    auto *button = dialog.findChild<QPushButton *>(QStringLiteral("properties"));
    if (!button || !button->isEnabled())
        return {QStringLiteral("<no properties button>")};
    auto texts = std::make_shared<QStringList>();
    auto waiting = std::make_shared<bool>(true);
    QTimer::singleShot(0, [texts, waiting] {
        if (!*waiting)
            return;
        auto *properties = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!properties) {
            *texts << QStringLiteral("<no printer properties dialog>");
            return;
        }
        *texts << properties->windowTitle();
        const QTabWidget *tabs = properties->findChild<QTabWidget *>(QStringLiteral("tabs"));
        const QWidget *advanced = properties->findChild<QWidget *>(QStringLiteral("cupsPropertiesPage"));
        *texts << (tabs && advanced && tabs->indexOf(advanced) >= 0 ? tabs->tabText(tabs->indexOf(advanced))
                                                                     : QStringLiteral("<no advanced tab>"));
        properties->reject();
    });
    button->click();
    *waiting = false;
    return texts->isEmpty() ? QStringList{QStringLiteral("<not opened>")} : *texts;
}

// The type the file dialogs show for a folder.
QString folderType()
{
    return QAbstractFileIconProvider().type(QFileInfo(QDir::tempPath()));
}

class QtTranslationTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(QtTranslation::Folder() + QStringLiteral("/qtbase_fr.qm")))
            GTEST_SKIP() << "Qt's French translation is not installed (qt6-translations-l10n)";
    }
    void TearDown() override
    {
        CLanguageSelector::SetApplication(nullptr);
        QtTranslation::Apply(0);
    }
};

} // namespace

TEST_F(QtTranslationTest, QtsOwnTextsSwitchWithTheInterfaceLanguage)
{
    // French, built in, and Swedish, which Qt has no translation of.
    const QString folder = LanguageFixture::programFolder();
    LanguageFixture::Language(1053).write(folder, QStringLiteral("Sve"));
    {
        Platform::Settings settings;
        settings.setInt(u"", u"", u"LanguageId", 1036);
        settings.sync();
    }
    EXPECT_EQ(fileDialogCancel(), QStringLiteral("Cancel"));

    CLanguageSelector selector(folder + QStringLiteral("Zarvo"));
    selector.SetSystemLanguages({});
    selector.SetChangePoster([](int) {});
    selector.SetToolbarLayoutReset([] {});
    CLanguageSelector::SetApplication(&selector);
    selector.ChooseLanguage();
    ASSERT_EQ(selector.GetLanguage(), 1036);
    EXPECT_EQ(QtTranslation::Installed(), 1036);
    EXPECT_EQ(fileDialogCancel(), QStringLiteral("Annuler"));
    EXPECT_TRUE(fieldMenu().contains(QStringLiteral("Co&ller"))) << fieldMenu().join(u' ').toStdString();
    // What Qt's own French lacks comes from ours, installed after it.
    EXPECT_TRUE(QtTranslation::SupplementInstalled());
    EXPECT_EQ(duplexTexts(), (QStringList{QStringLiteral("Impression recto-verso"), QStringLiteral("Non"),
                                          QStringLiteral("Reliure côté long"), QStringLiteral("Reliure côté court")}));
    EXPECT_EQ(folderType(), QStringLiteral("Dossier"));
    EXPECT_EQ(printerPropertiesTexts(),
              (QStringList{QStringLiteral("Propriétés de l'imprimante"), QStringLiteral("Avancé")}));

    ASSERT_TRUE(selector.ScanLanguages());
    selector.SelectLanguage(int(selector.GetLanguages().indexOf(1053)));
    ASSERT_EQ(selector.GetLanguage(), 1053);
    EXPECT_EQ(QtTranslation::Installed(), 0);
    EXPECT_EQ(fileDialogCancel(), QStringLiteral("Cancel"));
    EXPECT_TRUE(fieldMenu().contains(QStringLiteral("&Paste")));
    EXPECT_FALSE(QtTranslation::SupplementInstalled());
    EXPECT_EQ(duplexTexts(), (QStringList{QStringLiteral("Double Sided Printing"), QStringLiteral("Off"),
                                          QStringLiteral("Long side binding"), QStringLiteral("Short side binding")}));
    EXPECT_EQ(folderType(), QStringLiteral("Folder"));
    EXPECT_EQ(printerPropertiesTexts(), (QStringList{QStringLiteral("Printer Properties"), QStringLiteral("Advanced")}));

    selector.SelectLanguage(int(selector.GetLanguages().indexOf(1036)));
    EXPECT_EQ(fileDialogCancel(), QStringLiteral("Annuler"));
    EXPECT_EQ(folderType(), QStringLiteral("Dossier"));

    // A selector that is not the application's leaves Qt's texts alone.
    CLanguageSelector other(folder + QStringLiteral("Zarvo"));
    other.SetLanguage(1053);
    EXPECT_EQ(QtTranslation::Installed(), 1036);
}
