#include "CLanguageSelector.h"
#include "CTranslationStore.h"
#include "LanguageFixture.h"
#include "QStringPrinter.h"
#include "TranslateWidgets.h"
#include "WidgetIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

QString programWithGerman()
{
    const QString folder = LanguageFixture::programFolder();
    LanguageFixture german;
    german.langId = 1031;
    german.dialogs = {{431, -1, QStringLiteral("Sicherungen")},
                      {431, 1, QStringLiteral("Schließen")},
                      {431, 1086, QStringLiteral("Löschen")},
                      {431, 1087, QStringLiteral("Sichern")},
                      {431, 1063, QStringLiteral("Hinweis")},
                      {431, 1203, QStringLiteral("Liste")},
                      {431, 1205, QStringLiteral("Einrichten")}};
    german.menus = {{504, -1, QStringLiteral("Fenster")},
                    {504, -2, QStringLiteral("Anordnung")},
                    {504, 33099, QStringLiteral("Schwebend")},
                    {504, 33100, QStringLiteral("Andockbar")},
                    {504, 33057, QStringLiteral("Dokument")}};
    german.write(folder, QStringLiteral("Deu"));
    return folder + QStringLiteral("Zarvo");
}

// The backup list dialog's controls, built without texts as windows are.
struct BackupDialog
{
    QDialog dialog;
    QPushButton *close = new QPushButton(&dialog);
    QGroupBox *group = new QGroupBox(&dialog);
    QPushButton *remove = new QPushButton(group);   // nested in a group box
    QCheckBox *backUp = new QCheckBox(group);
    QLabel *message = new QLabel(&dialog);
    QLineEdit *edit = new QLineEdit(&dialog);       // keeps its contents
    QComboBox *combo = new QComboBox(&dialog);
    QPushButton *noId = new QPushButton(&dialog);
    QWidget *page = new QWidget(&dialog);           // translated with its own id
    QPushButton *pageButton = new QPushButton(page);

    BackupDialog()
    {
        WidgetIds::SetControlId(close, 1);
        WidgetIds::SetControlId(remove, 1086);
        WidgetIds::SetControlId(backUp, 1087);
        WidgetIds::SetControlId(message, 1063);
        WidgetIds::SetControlId(group, 1205);
        WidgetIds::SetControlId(edit, 1203);
        edit->setText(QStringLiteral("typed"));
        WidgetIds::SetControlId(combo, 1204);
        noId->setText(QStringLiteral("as built"));
        WidgetIds::SetDialogId(page, 432);
        WidgetIds::SetControlId(pageButton, 1086);
    }
};

} // namespace

TEST(TranslateWidgets, DialogTranslatedTwice)
{
    const QString program = programWithGerman();
    BackupDialog d;
    CLanguageSelector selector(program);

    selector.SetLanguage(1031);
    {
        CTranslationStore store(&selector);
        TranslateDialogWithStore(&d.dialog, store, 431);
    }
    EXPECT_EQ(d.dialog.windowTitle(), QStringLiteral("Sicherungen"));
    EXPECT_EQ(d.close->text(), QStringLiteral("Schließen"));
    EXPECT_EQ(d.remove->text(), QStringLiteral("Löschen"));
    EXPECT_EQ(d.backUp->text(), QStringLiteral("Sichern"));
    EXPECT_EQ(d.message->text(), QStringLiteral("Hinweis"));
    EXPECT_EQ(d.group->title(), QStringLiteral("Einrichten"));
    EXPECT_EQ(d.edit->text(), QStringLiteral("typed"));
    EXPECT_EQ(d.noId->text(), QStringLiteral("as built"));
    EXPECT_TRUE(d.pageButton->text().isEmpty());

    // Back to the built-in French; a control French has no text for keeps
    // the text it shows.
    selector.SetLanguage(1036);
    {
        CTranslationStore store(&selector);
        TranslateDialogWithStore(&d.dialog, store, 431);
        EXPECT_EQ(ControlsWithoutText(&d.dialog, store, 431), QList<int>{1063});
    }
    EXPECT_EQ(d.dialog.windowTitle(), QStringLiteral("Sauvegardes"));
    EXPECT_EQ(d.close->text(), QStringLiteral("Fermer"));
    EXPECT_EQ(d.remove->text(), QStringLiteral("Supprimer"));
    EXPECT_EQ(d.backUp->text(), QStringLiteral("Sauvegarder"));
    EXPECT_EQ(d.group->title(), QStringLiteral("Configurer"));
    EXPECT_EQ(d.message->text(), QStringLiteral("Hinweis"));
    EXPECT_EQ(d.edit->text(), QStringLiteral("typed"));

    // The application's selector serves TranslateDialog's own store.
    CLanguageSelector::SetApplication(&selector);
    selector.SetLanguage(1031);
    TranslateDialog(&d.dialog, 431);
    EXPECT_EQ(d.close->text(), QStringLiteral("Schließen"));
    CLanguageSelector::SetApplication(nullptr);
}

TEST(TranslateWidgets, MenuTranslatedTwiceKeepsItsKeys)
{
    const QString program = programWithGerman();
    QMenuBar bar;
    QMenu *window = bar.addMenu(QString());
    WidgetIds::SetPopupKey(window, -1);
    QAction *floating = window->addAction(QString());
    WidgetIds::SetCommandId(floating, 33099);
    window->addSeparator();
    QMenu *arrange = window->addMenu(QString());
    WidgetIds::SetPopupKey(arrange, -2);
    QAction *dockable = arrange->addAction(QString());
    WidgetIds::SetCommandId(dockable, 33100);
    QAction *plain = arrange->addAction(QStringLiteral("no number"));
    QAction *tabbed = bar.addAction(QString());
    WidgetIds::SetCommandId(tabbed, 33057);

    CLanguageSelector selector(program);
    selector.SetLanguage(1031);
    for (int pass = 0; pass < 2; ++pass) {
        CTranslationStore store(&selector);
        TranslateMenu(&bar, 504, store);
    }
    EXPECT_EQ(window->menuAction()->text(), QStringLiteral("Fenster"));
    EXPECT_EQ(arrange->menuAction()->text(), QStringLiteral("Anordnung"));
    EXPECT_EQ(floating->text(), QStringLiteral("Schwebend"));
    EXPECT_EQ(dockable->text(), QStringLiteral("Andockbar"));
    EXPECT_EQ(tabbed->text(), QStringLiteral("Dokument"));
    EXPECT_EQ(plain->text(), QStringLiteral("no number"));

    // Translated again into French: every key still finds its item; the
    // pop-ups the French has no row for keep the text they show.
    selector.SetLanguage(1036);
    CTranslationStore store(&selector);
    TranslateMenu(&bar, 504, store);
    EXPECT_EQ(floating->text(), QStringLiteral("Flottante"));
    EXPECT_EQ(dockable->text(), QStringLiteral("Ancrable"));
    EXPECT_EQ(tabbed->text(), QStringLiteral("Document avec onglet"));
    EXPECT_EQ(window->menuAction()->text(), QStringLiteral("Fenster"));
    int key = 0;
    ASSERT_TRUE(WidgetIds::PopupKey(arrange, key));
    EXPECT_EQ(key, -2);
    EXPECT_EQ(MenuItemsWithoutText(window, 504, store), (QList<int>{-2}));

    // A pop-up menu on its own.
    selector.SetLanguage(1031);
    CTranslationStore german(&selector);
    TranslateMenu(window, 504, german);
    EXPECT_EQ(floating->text(), QStringLiteral("Schwebend"));
}
