// The name prompt, the project column options and the activity and rate
// editors, on a database of the test's own, their message boxes answered
// by the seam.
#include "CColorChoiceButton.h"
#include "CColorStatic.h"
#include "CDlgActivity.h"
#include "CDlgName.h"
#include "CDlgOptColProject.h"
#include "CDlgRate.h"
#include "CMyEdit.h"
#include "CReadOnlyCB.h"
#include "DialogAnswers.h"
#include "EditorFixture.h"
#include "MessageBoxParams.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "CTranslationStore.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

namespace A = MessageBoxAnswer;

// ---------------------------------------------------------------------------
// Name prompt and column options
// ---------------------------------------------------------------------------

TEST(NamePromptTest, TakesTheNameAsTypedAndRefusesOnlyAnEmptyOne)
{
    struct Case
    {
        QString initial;
        QString typed; // replaces the whole text
        bool accepted;
        QString name;
    };
    const Case cases[] = {
        {QStringLiteral("Mars"), QStringLiteral("Été 2024 « bilan »"), true, QStringLiteral("Été 2024 « bilan »")},
        {QString(), QStringLiteral("   "), true, QStringLiteral("   ")},
        {QStringLiteral("Mars"), QString(), false, QString()},
    };
    for (const Case &c : cases) {
        MessageBoxAnswers boxes;
        boxes.Push(A::Ok);
        DialogAnswers<CDlgName> answers;
        answers.Push([&c](CDlgName &dialog) {
            // The initial name is there, wholly selected, to be typed over.
            EXPECT_EQ(dialog.NameEdit()->text(), c.initial);
            EXPECT_EQ(dialog.NameEdit()->selectedText(), c.initial);
            dialog.NameEdit()->selectAll();
            if (c.typed.isEmpty())
                QTest::keyClick(dialog.NameEdit(), Qt::Key_Delete);
            else
                dialog.NameEdit()->insert(c.typed);
            dialog.OnOk();
            return dialog.result();
        });
        CDlgName dialog(c.initial);
        const int result = dialog.exec();
        EXPECT_EQ(result == QDialog::Accepted, c.accepted) << c.typed.toStdString();
        if (c.accepted) {
            EXPECT_EQ(dialog.GetName(), c.name);
            EXPECT_TRUE(boxes.AskedBoxes().empty());
        } else {
            ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
            EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(331));
            EXPECT_EQ(boxes.AskedBoxes()[0].caption, Platform::Texts::get(173));
        }
    }
}

TEST(NamePromptTest, EveryTextOfBothDialogsIsInTheTextSource)
{
    CTranslationStore store;
    CDlgName name(QStringLiteral("x"));
    EXPECT_TRUE(ControlsWithoutText(&name, store, CDlgName::DialogId).isEmpty());
    EXPECT_EQ(name.windowTitle(), Platform::Texts::get(128));
    CDlgOptColProject columns;
    EXPECT_TRUE(ControlsWithoutText(&columns, store, CDlgOptColProject::DialogId).isEmpty());
}

TEST(ColumnOptionsTest, ShowsTheChoiceAndKeepsItUnlessConfirmed)
{
    {
        CDlgOptColProject dialog;
        dialog.SetFullName(false);
        EXPECT_TRUE(dialog.ShortNameButton()->isChecked());
        EXPECT_FALSE(dialog.FullNameButton()->isChecked());
        dialog.OnOk();
        EXPECT_FALSE(dialog.FullName());
    }
    {
        DialogAnswers<CDlgOptColProject> answers;
        answers.Push([](CDlgOptColProject &dialog) {
            QTest::mouseClick(dialog.FullNameButton(), Qt::LeftButton);
            dialog.reject();
            return dialog.result();
        });
        CDlgOptColProject dialog;
        dialog.SetFullName(false);
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
        EXPECT_FALSE(dialog.FullName());
    }
    {
        CDlgOptColProject dialog;
        EXPECT_TRUE(dialog.FullName());
        EXPECT_TRUE(dialog.FullNameButton()->isChecked());
        QTest::mouseClick(dialog.ShortNameButton(), Qt::LeftButton);
        dialog.OnOk();
        EXPECT_FALSE(dialog.FullName());
    }
}

// ---------------------------------------------------------------------------
// Rate editor
// ---------------------------------------------------------------------------

class RateEditorTest : public EditorFixture
{
protected:
    static void type(CDlgRate &dialog, const QString &name, const QString &value)
    {
        dialog.NameEdit()->setText(name);
        dialog.ValueEdit()->selectAll();
        dialog.ValueEdit()->InsertText(value);
    }
};

TEST_F(RateEditorTest, ValuesReadWithTheSeparatorAndNothingUnwritable)
{
    struct Case
    {
        QString text;
        float value;
    };
    const Case cases[] = {
        {QStringLiteral("12,5"), 12.5f},
        {QStringLiteral("12"), 12.0f},
        {QStringLiteral("0"), 0.0f},
        {QStringLiteral(""), 0.0f},
        {QStringLiteral("abc"), 0.0f},
        {QStringLiteral("1e39"), 0.0f},      // beyond a float: would be written "inf"
        {QStringLiteral("1e400"), 0.0f},     // beyond a double
        {QStringLiteral("nan"), 0.0f},
    };
    CMyEdit edit;
    edit.SetDecimalSeparator(u',');
    for (const Case &c : cases) {
        edit.setText(c.text);
        EXPECT_EQ(CDlgRate::ReadValue(&edit), c.value) << c.text.toStdString();
    }

    // Stored with two decimals, shown back with the separator.
    CDlgRate dialog;
    dialog.ValueEdit()->SetDecimalSeparator(u',');
    type(dialog, QStringLiteral("Conseil"), QStringLiteral("12,5"));
    dialog.OnSaveClose();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(cell(QStringLiteral("select Valeur from TauxHoraire where Nom='Conseil'")), u"12.5");
    CDlgRate again;
    again.ValueEdit()->SetDecimalSeparator(u',');
    again.LoadRate(dialog.Record().Id);
    EXPECT_EQ(again.ValueEdit()->text(), u"12,5");
    EXPECT_TRUE(again.SaveButton()->isHidden());
}

TEST_F(RateEditorTest, NameQuestionOfANewRate)
{
    const int existing = saveRate(QStringLiteral("Conseil"), 10);
    struct Case
    {
        int answer;
        bool closed;
        int result;
        int rows;    // rates named "Conseil" afterwards
        QString value; // of the existing rate
    };
    const Case cases[] = {
        {A::Yes, true, QDialog::Accepted, 1, QStringLiteral("30.0")},
        {A::No, true, QDialog::Rejected, 1, QStringLiteral("10.0")},
        {A::Cancel, false, 0, 1, QStringLiteral("10.0")},
    };
    for (const Case &c : cases) {
        exec(u"update TauxHoraire set Valeur=10");
        boxes.Push(c.answer);
        CDlgRate dialog;
        type(dialog, QStringLiteral("Conseil"), QStringLiteral("30"));
        dialog.OnSaveClose();
        ASSERT_FALSE(boxes.AskedBoxes().empty());
        EXPECT_EQ(boxes.AskedBoxes().back().caption, Platform::Texts::get(166));
        EXPECT_TRUE(boxes.AskedBoxes().back().text.contains(u"'Conseil'"));
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_EQ(count(QStringLiteral("select count(*) from TauxHoraire where Nom='Conseil'")), c.rows);
        EXPECT_EQ(cell(QStringLiteral("select Valeur from TauxHoraire where Id=%1").arg(existing)), c.value);
        if (c.answer == A::Yes)
            EXPECT_EQ(dialog.Record().Id, existing);
        else
            EXPECT_EQ(dialog.Record().Id, -1);
    }

    // Editing a rate never asks, even under another rate's name.
    const int other = saveRate(QStringLiteral("Autre"));
    const size_t asked = boxes.AskedBoxes().size();
    CDlgRate edit;
    edit.LoadRate(other);
    edit.NameEdit()->setText(QStringLiteral("Conseil"));
    edit.OnSaveClose();
    EXPECT_EQ(edit.result(), QDialog::Accepted);
    EXPECT_EQ(boxes.AskedBoxes().size(), asked);
    EXPECT_EQ(count(QStringLiteral("select count(*) from TauxHoraire where Nom='Conseil'")), 2);
}

TEST_F(RateEditorTest, SaveAndStayTwiceThenCloseLeavesTwoRatesAndNoId)
{
    int reloads = 0;
    RecordEditorServices::Registered().reloadRates = [&reloads] { ++reloads; };
    DialogAnswers<CDlgRate> answers;
    answers.Push([](CDlgRate &dialog) {
        for (const char *name : {"Jour", "Nuit"}) {
            type(dialog, QString::fromLatin1(name), QStringLiteral("7"));
            QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
            // Ready for the next rate.
            EXPECT_TRUE(dialog.NameEdit()->text().isEmpty());
            EXPECT_EQ(dialog.ValueEdit()->text(), u"0");
            EXPECT_EQ(dialog.Record().Id, -1);
        }
        dialog.reject();
        return dialog.result();
    });
    CDlgRate dialog;
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.Record().Id, -1);
    EXPECT_EQ(count(u"select count(*) from TauxHoraire where Deleted=0 and Valeur=7"), 2);
    EXPECT_EQ(reloads, 2);

    // "No" to the name question of save-and-stay saves one more of that name.
    boxes.Push(A::No);
    CDlgRate more;
    type(more, QStringLiteral("Jour"), QStringLiteral("8"));
    more.OnSave();
    EXPECT_EQ(count(u"select count(*) from TauxHoraire where Nom='Jour'"), 2);
}

TEST_F(RateEditorTest, AFailedSaveKeepsTheDialogAndTheId)
{
    const int existing = saveRate(QStringLiteral("Conseil"));
    CDlgRate fresh;
    type(fresh, QStringLiteral("Neuf"), QStringLiteral("3"));
    CDlgRate taken;
    type(taken, QStringLiteral("Conseil"), QStringLiteral("4"));
    {
        HeldFile held(path);
        boxes.Push(A::Ok);
        fresh.OnSaveClose();
        boxes.Push(A::Ok);
        fresh.OnSave();
        boxes.Push(A::Yes);
        boxes.Push(A::Ok);
        taken.OnSaveClose();
    }
    const std::vector<MessageBoxAnswers::Asked> &asked = boxes.AskedBoxes();
    ASSERT_EQ(asked.size(), 4u);
    for (size_t i : {0u, 1u, 3u}) {
        EXPECT_EQ(asked[i].text, Platform::Texts::get(226));
        EXPECT_EQ(asked[i].type & MessageBoxType::IconMask, MessageBoxType::IconExclamation);
    }
    EXPECT_EQ(fresh.result(), 0);
    EXPECT_EQ(fresh.Record().Id, -1);
    EXPECT_EQ(fresh.NameEdit()->text(), u"Neuf");
    // The id taken over by "Yes" stays.
    EXPECT_EQ(taken.Record().Id, existing);
    EXPECT_EQ(count(u"select count(*) from TauxHoraire"), 1);

    // Once the file is free the same dialog saves.
    fresh.OnSaveClose();
    EXPECT_EQ(fresh.result(), QDialog::Accepted);
    EXPECT_NE(fresh.Record().Id, -1);
}

TEST_F(RateEditorTest, AnEmptyNameIsRefusedAndBlanksAreAName)
{
    CDlgRate dialog;
    boxes.Push(A::Ok);
    dialog.OnSaveClose();
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Texts::get(174));
    // It only warns: the warning icon, not the question's.
    EXPECT_EQ(boxes.AskedBoxes()[0].type & MessageBoxType::IconMask, MessageBoxType::IconExclamation);
    EXPECT_EQ(dialog.result(), 0);
    type(dialog, QStringLiteral("  "), QStringLiteral("1"));
    dialog.OnSaveClose();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(cell(u"select '[' || Nom || ']' from TauxHoraire"), u"[  ]");
}

// The name fields of the rate and activity editors stop at the longest name
// (a name of 291 characters made every drop-down as wide as the screen).
TEST_F(RateEditorTest, NameFieldsTakeAtMostTheLongestName)
{
    const QString tooLong(tElement::MaxNameLength + 50, u'n');
    CDlgRate rate;
    rate.NameEdit()->setText(tooLong);
    EXPECT_EQ(rate.NameEdit()->text().size(), tRate::MaxNameLength);
    CDlgActivity activity;
    activity.Prepare();
    activity.NameEdit()->setText(tooLong);
    EXPECT_EQ(activity.NameEdit()->text().size(), tElement::MaxNameLength);
}

// ---------------------------------------------------------------------------
// Activity editor
// ---------------------------------------------------------------------------

class ActivityEditorTest : public EditorFixture
{
};

TEST_F(ActivityEditorTest, OpensWithItsRecordAndEveryText)
{
    const int rate = saveRate(QStringLiteral("Conseil"), 50);
    tElement a;
    a.Nom = QStringLiteral("Réunion « équipe »");
    a.Commentaire = QStringLiteral("l'hebdo");
    a.Color = 0x203040;
    a.IdTauxHoraire = rate;
    {
        CBdD db;
        ASSERT_TRUE(db.SaveActivity(a));
        // Deleted activities open too.
        ASSERT_TRUE(db.DeleteActivity(a.Id));
    }
    CDlgActivity dialog;
    dialog.LoadActivity(a.Id);
    dialog.Prepare();
    EXPECT_EQ(dialog.NameEdit()->text(), a.Nom);
    EXPECT_EQ(dialog.CommentEdit()->text(), a.Commentaire);
    EXPECT_TRUE(dialog.SaveButton()->isHidden());
    EXPECT_EQ(dialog.Colour(), 0x203040u);
    EXPECT_EQ(dialog.Sample()->BkColor(), 0x203040u);
    EXPECT_EQ(dialog.Sample()->TextColor(), 0xFFFFFFu); // white on a dark colour
    EXPECT_FALSE(dialog.ColourButton()->IsAutomatic());
    EXPECT_EQ(dialog.ColourButton()->Color(), 0x203040u);
    EXPECT_EQ(dialog.RateList()->currentText(), CBdD::RateText(QStringLiteral("Conseil"), 50));
    EXPECT_EQ(dialog.RateList()->itemText(0), Platform::Texts::get(185));

    CTranslationStore store;
    EXPECT_TRUE(ControlsWithoutText(&dialog, store, CDlgActivity::DialogId).isEmpty());
    CDlgRate rateDialog;
    EXPECT_TRUE(ControlsWithoutText(&rateDialog, store, CDlgRate::DialogId).isEmpty());
}

TEST_F(ActivityEditorTest, ANewActivityTakesALightColourAndTheUndefinedRateStoresNone)
{
    CDlgActivity dialog;
    dialog.Prepare();
    EXPECT_FALSE(dialog.SaveButton()->isHidden());
    EXPECT_EQ(dialog.Colour(), dialog.AutomaticColour());
    EXPECT_EQ(dialog.Sample()->TextColor(), 0u); // black on a light colour
    EXPECT_TRUE(dialog.ColourButton()->IsAutomatic());
    EXPECT_EQ(dialog.ColourButton()->AutomaticColor(), dialog.AutomaticColour());
    EXPECT_EQ(dialog.ColourButton()->AutomaticText(), Platform::Texts::get(276));
    EXPECT_EQ(dialog.RateList()->currentIndex(), 0);
    dialog.NameEdit()->setText(QStringLiteral("  "));
    // A colour of the button's own, as a click in its grid gives it.
    dialog.ColourButton()->SetColor(0x112233);
    emit dialog.ColourButton()->colorChosen();
    EXPECT_EQ(dialog.Sample()->BkColor(), 0x112233u);
    dialog.OnSaveClose();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(cell(QStringLiteral("select '[' || Nom || ']', IdTauxHoraire from Activites where Id=%1")
                       .arg(dialog.Record().Id)),
              u"[  ]");
    EXPECT_EQ(cell(QStringLiteral("select IdTauxHoraire from Activites where Id=%1").arg(dialog.Record().Id)),
              u"-1");
    EXPECT_EQ(cell(QStringLiteral("select Red || ',' || Green || ',' || Blue from Activites")), u"51,34,17");
}

TEST_F(ActivityEditorTest, NameQuestionYesOverwritesTheFoundActivity)
{
    const int existing = saveActivity(QStringLiteral("Réunion"));
    // Save and close: Yes overwrites, No closes, Cancel stays.
    boxes.Push(A::Yes);
    CDlgActivity dialog;
    dialog.Prepare();
    dialog.NameEdit()->setText(QStringLiteral("Réunion"));
    dialog.CommentEdit()->setText(QStringLiteral("nouvelle"));
    dialog.OnSaveClose();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Record().Id, existing);
    EXPECT_EQ(cell(QStringLiteral("select Commentaire from Activites where Id=%1").arg(existing)), u"nouvelle");
    EXPECT_EQ(count(u"select count(*) from Activites"), 1);

    // Save and stay: No saves nothing and keeps the fields.
    boxes.Push(A::No);
    CDlgActivity stay;
    stay.Prepare();
    stay.NameEdit()->setText(QStringLiteral("Réunion"));
    stay.OnSave();
    EXPECT_EQ(stay.NameEdit()->text(), u"Réunion");
    EXPECT_EQ(count(u"select count(*) from Activites"), 1);
    EXPECT_EQ(boxes.AskedBoxes().back().buttons.size(), 2u);
}

TEST_F(ActivityEditorTest, SaveAndStayTwiceThenCloseLeavesTwoActivitiesAndNoId)
{
    DialogAnswers<CDlgActivity> answers;
    answers.Push([](CDlgActivity &dialog) {
        quint32 previous = dialog.Colour();
        for (const char *name : {"Analyse", "Tests"}) {
            QTest::keyClicks(dialog.NameEdit(), QString::fromLatin1(name));
            QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
            EXPECT_TRUE(dialog.NameEdit()->text().isEmpty());
            EXPECT_EQ(dialog.Record().Id, -1);
            EXPECT_EQ(dialog.Sample()->BkColor(), dialog.Colour());
            previous = dialog.Colour();
        }
        Q_UNUSED(previous);
        dialog.reject();
        return dialog.result();
    });
    CDlgActivity dialog;
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.Record().Id, -1);
    EXPECT_EQ(count(u"select count(*) from Activites where Nom in ('Analyse','Tests')"), 2);
}

TEST_F(ActivityEditorTest, AFailedSaveKeepsTheDialogAndTheId)
{
    CDlgActivity dialog;
    dialog.Prepare();
    dialog.NameEdit()->setText(QStringLiteral("Analyse"));
    {
        HeldFile held(path);
        boxes.Push(A::Ok);
        dialog.OnSaveClose();
        boxes.Push(A::Ok);
        dialog.OnSave();
    }
    ASSERT_EQ(boxes.AskedBoxes().size(), 2u);
    EXPECT_EQ(boxes.AskedBoxes()[1].text, Platform::Texts::get(226));
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.Record().Id, -1);
    EXPECT_EQ(dialog.NameEdit()->text(), u"Analyse");
    EXPECT_EQ(count(u"select count(*) from Activites"), 0);
}

TEST_F(ActivityEditorTest, ANewRateFromTheEditorBecomesTheDefaultRate)
{
    const int kept = saveRate(QStringLiteral("Standard"), 20);
    CDlgActivity dialog;
    dialog.Prepare();
    ASSERT_TRUE(RecordEditorTools::SelectRowWithData(dialog.RateList(), kept));
    {
        // Cancelled: the row chosen stays.
        DialogAnswers<CDlgRate> answers;
        answers.Push(QDialog::Rejected);
        dialog.OnAddRate();
        EXPECT_EQ(dialog.RateList()->currentText(), CBdD::RateText(QStringLiteral("Standard"), 20));
    }
    {
        DialogAnswers<CDlgRate> answers;
        answers.Push([](CDlgRate &rate) {
            rate.NameEdit()->setText(QStringLiteral("Urgence"));
            rate.OnSaveClose();
            return rate.result();
        });
        dialog.OnAddRate();
    }
    EXPECT_EQ(dialog.RateList()->currentText(), QStringLiteral("Urgence"));
    dialog.NameEdit()->setText(QStringLiteral("Dépannage"));
    dialog.OnSaveClose();
    EXPECT_EQ(cell(u"select r.Nom from Activites a join TauxHoraire r on r.Id=a.IdTauxHoraire"), u"Urgence");
}

} // namespace
