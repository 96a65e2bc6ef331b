// The project picker on a small tree {A{Dev, A1{A11}}, B, C..L} of a
// database of the test's own: what it offers, what it returns, and the
// state it keeps per user and in the settings.
#include "CDlgSelectProject.h"
#include "CMyEdit.h"
#include "CReadOnlyCB.h"
#include "CTranslationStore.h"
#include "DialogAnswers.h"
#include "EditorFixture.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {

class ProjectPickerTest : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        addUser();
        a = saveProject(QStringLiteral("A"));
        a1 = saveProject(QStringLiteral("A1"), a);
        a11 = saveProject(QStringLiteral("A11"), a1);
        b = saveProject(QStringLiteral("B"));
        // Enough projects for the tree to scroll, in one statement.
        QString filler = QStringLiteral("insert into Projets (Id,Nom,Parent,Deleted,Type) values ");
        for (char name = 'C'; name <= 'Z'; ++name)
            filler += QStringLiteral("(%1,'%2',-1,0,0)%3").arg(1000 + name).arg(QChar(name)).arg(name < 'Z' ? QStringLiteral(",") : QString());
        exec(filler);
        dev = saveActivity(QStringLiteral("Dév"));
        tForecast row;
        row.IdProject = a;
        row.IdActivity = dev;
        CBdD db;
        ASSERT_TRUE(db.SaveProject(nullptr, &row));
        reload();
    }

    static QStringList texts(const QTreeWidget *tree)
    {
        QStringList out;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
            out << (*it)->text(0);
        return out;
    }
    // Runs the picker shown at a fixed size; `act` plays the user.
    int run(CDlgSelectProject &dialog, const std::function<void(CDlgSelectProject &)> &act)
    {
        DialogAnswers<CDlgSelectProject> answers;
        answers.Push([&act](CDlgSelectProject &d) {
            d.resize(400, 300);
            d.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
            act(d);
            return d.result();
        });
        return dialog.exec();
    }

    int a = -1, a1 = -1, a11 = -1, b = -1, dev = -1;
};

TEST_F(ProjectPickerTest, TheExcludedProjectAndItsSubtreeAreNotOffered)
{
    CDlgSelectProject dialog;
    dialog.SetExcluded(store.GetNode(a1));
    dialog.Prepare();
    const QStringList shown = texts(dialog.Tree());
    EXPECT_EQ(shown.mid(0, 4), (QStringList{Platform::Texts::get(146), QStringLiteral("A"), QStringLiteral("Dév"),
                                            QStringLiteral("B")}));
    EXPECT_FALSE(shown.contains(u"A1"));
    EXPECT_FALSE(shown.contains(u"A11"));
    EXPECT_FALSE(dialog.OkButton()->isEnabled());

    // Without activities in the planning, none is offered.
    store.Context().showActivities = false;
    CDlgSelectProject projectsOnly;
    projectsOnly.Prepare();
    EXPECT_FALSE(texts(projectsOnly.Tree()).contains(u"Dév"));
    EXPECT_TRUE(texts(projectsOnly.Tree()).contains(u"A11"));

    CTranslationStore translations;
    EXPECT_TRUE(ControlsWithoutText(&dialog, translations, CDlgSelectProject::DialogId).isEmpty());
}

TEST_F(ProjectPickerTest, ThePreselectedNodeIsFoundByItsIdsAndTheTopItemGivesNoNode)
{
    CDlgSelectProject dialog;
    dialog.SetSelected(store.FindNode(dev, a));
    dialog.SetLag(12, CDlgSelectProject::Days);
    const int result = run(dialog, [this](CDlgSelectProject &d) {
        EXPECT_EQ(d.FullNameEdit()->text(), QStringLiteral("A / Dév"));
        ASSERT_EQ(d.Tree()->selectedItems().size(), 1);
        EXPECT_EQ(d.Tree()->selectedItems().first()->text(0), u"Dév");
        EXPECT_TRUE(d.OkButton()->isEnabled());
        EXPECT_EQ(d.LagEdit()->text(), u"12");
        EXPECT_EQ(d.UnitList()->currentText(), Platform::Texts::get(661));
        // The top item: OK stays on, the name goes, no node comes back.
        QTreeWidgetItem *top = d.Tree()->topLevelItem(0);
        d.Tree()->scrollToItem(top);
        QTest::mouseClick(d.Tree()->viewport(), Qt::LeftButton, {}, d.Tree()->visualItemRect(top).center());
        EXPECT_TRUE(d.FullNameEdit()->text().isEmpty());
        EXPECT_TRUE(d.OkButton()->isEnabled());
        QTest::mouseDClick(d.Tree()->viewport(), Qt::LeftButton, {}, d.Tree()->visualItemRect(top).center());
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(dialog.Selected(), nullptr);
    EXPECT_EQ(dialog.Lag(), 12);
    EXPECT_EQ(dialog.LagUnit(), CDlgSelectProject::Days);
}

TEST_F(ProjectPickerTest, ADoubleClickBesideTheItemsDoesNothing)
{
    CDlgSelectProject dialog;
    const int result = run(dialog, [](CDlgSelectProject &d) {
        // Collapse everything so that the bottom of the tree is empty.
        d.Tree()->collapseAll();
        const QPoint below(5, d.Tree()->viewport()->height() - 3);
        ASSERT_EQ(d.Tree()->itemAt(below), nullptr);
        QTest::mouseDClick(d.Tree()->viewport(), Qt::LeftButton, {}, below);
        EXPECT_TRUE(d.isVisible());
        EXPECT_FALSE(d.OkButton()->isEnabled());
        d.reject();
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST_F(ProjectPickerTest, TheTreeStateComesBackPerUser)
{
    {
        CDlgSelectProject dialog;
        run(dialog, [this](CDlgSelectProject &d) {
            QTreeWidgetItem *itemA = d.FindItem(store.GetNode(a));
            QTreeWidgetItem *itemA1 = d.FindItem(store.GetNode(a1));
            ASSERT_TRUE(itemA && itemA1);
            itemA1->setExpanded(false);
            itemA->setExpanded(false);
            d.Tree()->scrollToItem(d.FindItem(store.GetNode(b)), QAbstractItemView::PositionAtTop);
            d.reject();
        });
    }
    QStringList values{CDlgSelectProject::PositionSetting(), CDlgSelectProject::CollapsedSetting()};
    ASSERT_TRUE(users.GetUserSettings(values));
    EXPECT_EQ(values, (QStringList{QStringLiteral("%1;-2").arg(b), QStringLiteral(",%1,%2,").arg(a).arg(a1)}));

    CDlgSelectProject again;
    run(again, [this](CDlgSelectProject &d) {
        EXPECT_EQ(d.LastPosition(), store.GetNode(b));
        EXPECT_FALSE(d.FindItem(store.GetNode(a))->isExpanded());
        EXPECT_FALSE(d.FindItem(store.GetNode(a1))->isExpanded());
        EXPECT_TRUE(d.Tree()->topLevelItem(0)->isExpanded());
        EXPECT_EQ(d.Tree()->itemAt(QPoint(1, 1)), d.FindItem(store.GetNode(b)));
        EXPECT_TRUE(d.Tree()->selectedItems().isEmpty());
        EXPECT_FALSE(d.OkButton()->isEnabled());
        d.reject();
    });

    // Another user starts from nothing.
    tUsers other;
    other.Nom = QStringLiteral("Bob");
    ASSERT_EQ(users.AddUser(other), CUsers::Done);
    ASSERT_TRUE(users.SwitchUser(other.Id));
    CAppData::SetCurrentDatabasePath(path);
    reload();
    CDlgSelectProject bob;
    bob.Prepare();
    EXPECT_EQ(bob.LastPosition(), nullptr);
    EXPECT_TRUE(bob.FindItem(store.GetNode(a))->isExpanded());
}

TEST_F(ProjectPickerTest, MalformedStoredStateIsIgnored)
{
    struct Case
    {
        QString position;
        QString collapsed;
    };
    const Case cases[] = {
        {QStringLiteral("%1").arg(b), QStringLiteral("x,,%1a, ,").arg(a)},
        {QStringLiteral(";%1").arg(b), QStringLiteral(",,,")},
        {QStringLiteral("99999;-2"), QStringLiteral(",99999,")},
        {QStringLiteral("abc;def"), QStringLiteral("garbage")},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(users.SetUserSettings({CDlgSelectProject::PositionSetting(), CDlgSelectProject::CollapsedSetting()},
                                          {c.position, c.collapsed}));
        CDlgSelectProject dialog;
        dialog.Prepare();
        EXPECT_EQ(dialog.LastPosition(), nullptr) << c.position.toStdString();
        EXPECT_TRUE(dialog.FindItem(store.GetNode(a))->isExpanded()) << c.collapsed.toStdString();
    }
}

TEST_F(ProjectPickerTest, TheLagStepsFromWhatTheFieldShowsAndStaysInRange)
{
    CDlgSelectProject dialog;
    dialog.SetSelected(store.GetNode(b));
    dialog.SetLag(0, CDlgSelectProject::Hours);
    dialog.Prepare();
    CMyEdit *lag = dialog.LagEdit();
    EXPECT_EQ(lag->text(), u"0");
    QTest::mouseClick(dialog.StepDownButton(), Qt::LeftButton);
    EXPECT_EQ(lag->text(), u"0");
    QTest::mouseClick(dialog.StepUpButton(), Qt::LeftButton);
    EXPECT_EQ(lag->text(), u"1");
    lag->selectAll();
    QTest::keyClicks(lag, QStringLiteral("41x"));
    EXPECT_EQ(lag->text(), u"41");
    QTest::keyClick(lag, Qt::Key_Up);
    EXPECT_EQ(lag->text(), u"42");
    lag->selectAll();
    QTest::keyClicks(lag, QStringLiteral("99999"));
    QTest::keyClick(lag, Qt::Key_Up);
    EXPECT_EQ(lag->text(), u"99999");
    // A pasted value out of range is refused; one set from outside is clamped.
    EXPECT_FALSE(lag->InsertText(QStringLiteral("7")));
    CDlgSelectProject clamped;
    clamped.SetLag(250000, CDlgSelectProject::Days);
    clamped.Prepare();
    EXPECT_EQ(clamped.LagEdit()->text(), u"99999");

    dialog.UnitList()->setCurrentIndex(1);
    dialog.OnOk();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Lag(), 99999);
    EXPECT_EQ(dialog.LagUnit(), CDlgSelectProject::Days);
    EXPECT_EQ(dialog.Selected(), store.GetNode(b));
}

TEST_F(ProjectPickerTest, TheUnitOfTheLastClosingIsTheNextDefault)
{
    struct Case
    {
        int stored;
        int opensWith;
        int chosenRow; // -1: no row chosen
        int storedAfter;
    };
    const Case cases[] = {
        {4, CDlgSelectProject::Days, 0, 3},
        {3, CDlgSelectProject::Hours, 1, 4},
        {7, CDlgSelectProject::Hours, -1, 3},
        {-4, CDlgSelectProject::Hours, 1, 4},
    };
    for (const Case &c : cases) {
        Platform::Settings().setInt(u"Dialog", u"SelectProject", u"TypeDelay", c.stored);
        {
            CDlgSelectProject dialog;
            dialog.Prepare();
            EXPECT_EQ(dialog.LagUnit(), c.opensWith) << c.stored;
            dialog.UnitList()->setCurrentIndex(c.chosenRow);
            dialog.reject();
        }
        EXPECT_EQ(Platform::Settings().getInt(u"Dialog", u"SelectProject", u"TypeDelay", 0), c.storedAfter);
    }
    // No unit chosen at OK: no lag, in hours.
    CDlgSelectProject dialog;
    dialog.SetLag(5, CDlgSelectProject::Days);
    dialog.Prepare();
    dialog.UnitList()->setCurrentIndex(-1);
    dialog.OnOk();
    EXPECT_EQ(dialog.Lag(), 0);
    EXPECT_EQ(dialog.LagUnit(), CDlgSelectProject::Hours);
}

} // namespace
