// The copy dialog on a tree {P{S{S1}, Q}, T} of a database of the test's
// own: the parents it offers and refuses, where the copy goes, and a copy
// that cannot be written.
#include "CDlgCopyProject.h"
#include "CTranslationStore.h"
#include "DialogAnswers.h"
#include "EditorFixture.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

namespace {

namespace A = MessageBoxAnswer;

class CopyProjectTest : public EditorFixture
{
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        p = saveProject(QStringLiteral("P"));
        s = saveProject(QStringLiteral("S"), p);
        s1 = saveProject(QStringLiteral("S1"), s);
        q = saveProject(QStringLiteral("Q"), p);
        t = saveProject(QStringLiteral("T"));
        reload();
    }

    static QStringList texts(const QTreeWidget *tree)
    {
        QStringList out;
        for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it)
            out << (*it)->text(0);
        return out;
    }
    static void clickItem(QTreeWidget *tree, QTreeWidgetItem *item)
    {
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }
    QStringList childNames(int parent)
    {
        QStringList names;
        for (const CProject *child : (parent == -1 ? store.GetRoot() : store.GetNode(parent))->Children())
            names << child->GetName();
        return names;
    }

    int p = -1, s = -1, s1 = -1, q = -1, t = -1;
};

TEST_F(CopyProjectTest, TheProjectIsNoParentOfItsCopyAndItsParentIsChosenFirst)
{
    CDlgCopyProject dialog;
    dialog.SetProjects(store.GetNode(s), nullptr);
    dialog.Prepare();
    EXPECT_EQ(texts(dialog.Tree()),
              (QStringList{Platform::Texts::get(146), QStringLiteral("P"), QStringLiteral("Q"), QStringLiteral("T")}));
    EXPECT_EQ(dialog.NameEdit()->text(), u"S");
    EXPECT_EQ(dialog.NameEdit()->maxLength(), tElement::MaxNameLength);
    EXPECT_EQ(dialog.TargetParentId(), p);
    EXPECT_EQ(dialog.FullNameEdit()->text(), u"P");
    ASSERT_EQ(dialog.Tree()->selectedItems().size(), 1);
    EXPECT_EQ(dialog.Tree()->selectedItems().first()->text(0), u"P");
    EXPECT_TRUE(dialog.ChildrenYes()->isChecked());
    EXPECT_TRUE(dialog.PlansNo()->isChecked());
    EXPECT_TRUE(dialog.Note()->isHidden());
    dialog.show();
    QTest::mouseClick(dialog.PlansYes(), Qt::LeftButton);
    EXPECT_FALSE(dialog.Note()->isHidden());
    QTest::mouseClick(dialog.PlansNo(), Qt::LeftButton);
    EXPECT_TRUE(dialog.Note()->isHidden());

    CTranslationStore translations;
    EXPECT_TRUE(ControlsWithoutText(&dialog, translations, CDlgCopyProject::DialogId).isEmpty());
}

TEST_F(CopyProjectTest, AParentThatWouldCloseALoopIsRefusedAndThePreviousComesBack)
{
    // S waits for T: below T it would wait for its own parent.
    store.GetNode(s)->SetPredecessor(t, -2, 0, 3);
    DialogAnswers<CDlgCopyProject> answers;
    answers.Push([this](CDlgCopyProject &d) {
        d.resize(400, 400);
        d.show();
        boxes.Push(A::Ok);
        clickItem(d.Tree(), d.FindItem(t));
        EXPECT_EQ(d.TargetParentId(), p);
        EXPECT_EQ(d.Tree()->selectedItems().value(0), d.FindItem(p));
        EXPECT_EQ(d.FullNameEdit()->text(), u"P");
        // The top item is a parent like any other: the name goes.
        clickItem(d.Tree(), d.Tree()->topLevelItem(0));
        EXPECT_EQ(d.TargetParentId(), -1);
        EXPECT_TRUE(d.FullNameEdit()->text().isEmpty());
        d.NameEdit()->setText(QStringLiteral("Copie de « S »"));
        d.OnCopy();
        return d.result();
    });
    CDlgCopyProject dialog;
    dialog.SetProjects(store.GetNode(s), nullptr);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Formatter::sprintf(Platform::Texts::get(616), {u"S", u"T"}));
    EXPECT_EQ(boxes.AskedBoxes()[0].caption, Platform::Texts::get(173));
    // Copied at the top with its sub-project.
    EXPECT_EQ(childNames(-1).count(u"Copie de « S »"), 1);
    const int copy = cell(u"select Id from Projets where Nom='Copie de « S »'").toInt();
    EXPECT_EQ(cell(QStringLiteral("select Parent from Projets where Id=%1").arg(copy)), u"-1");
    EXPECT_EQ(count(QStringLiteral("select count(*) from Projets where Parent=%1 and Nom='S1'").arg(copy)), 1);
}

TEST_F(CopyProjectTest, TheSiblingOfADropCountsOnlyUnderItsOwnParent)
{
    struct Case
    {
        bool before;
        QStringList order;
    };
    const Case cases[] = {
        // With no stored order the children stand in name order: Q, S.
        {true, {QStringLiteral("C"), QStringLiteral("Q"), QStringLiteral("S")}},
        {false, {QStringLiteral("Q"), QStringLiteral("C"), QStringLiteral("S")}},
    };
    for (const Case &c : cases) {
        CDlgCopyProject dialog;
        dialog.SetProjects(store.GetNode(t), store.GetNode(p));
        dialog.SetSibling(store.GetNode(q), c.before);
        dialog.Prepare();
        dialog.NameEdit()->setText(QStringLiteral("C"));
        dialog.OnCopy();
        ASSERT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(childNames(p), c.order);
        exec(u"update Projets set Deleted=1 where Nom='C'");
        exec(QStringLiteral("delete from ProjectChilds where IdProject=%1").arg(p));
        reload();
    }
    // Another parent chosen: the copy goes last there.
    CDlgCopyProject dialog;
    dialog.SetProjects(store.GetNode(t), store.GetNode(p));
    dialog.SetSibling(store.GetNode(q), true);
    dialog.resize(400, 400);
    dialog.show();
    dialog.Prepare();
    clickItem(dialog.Tree(), dialog.FindItem(s));
    ASSERT_EQ(dialog.TargetParentId(), s);
    dialog.OnCopy();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(childNames(s), (QStringList{QStringLiteral("S1"), QStringLiteral("T")}));
    EXPECT_EQ(childNames(p), (QStringList{QStringLiteral("Q"), QStringLiteral("S")}));
}

TEST_F(CopyProjectTest, ACopyThatCannotBeWrittenIsToldAndTheDialogStays)
{
    CDlgCopyProject dialog;
    dialog.SetProjects(store.GetNode(s), store.GetRoot());
    dialog.Prepare();
    EXPECT_EQ(dialog.TargetParentId(), -1);
    {
        HeldFile held(path);
        boxes.Push(A::Ok);
        dialog.OnCopy();
    }
    ASSERT_EQ(boxes.AskedBoxes().size(), 1u);
    EXPECT_EQ(boxes.AskedBoxes()[0].text, Platform::Formatter::sprintf(Platform::Texts::get(674), {u"S"}));
    EXPECT_EQ(boxes.AskedBoxes()[0].type & MessageBoxType::IconMask, MessageBoxType::IconExclamation);
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(count(u"select count(*) from Projets where Nom='S'"), 1);
}

} // namespace
