#include "CmyTreeCtrl.h"

#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A: A1, A2 (A2a); B.
struct Tree
{
    CmyTreeCtrl tree;
    QTreeWidgetItem *a, *a1, *a2, *a2a, *b;

    Tree()
    {
        a = item(tree.invisibleRootItem(), "A");
        a1 = item(a, "A1");
        a2 = item(a, "A2");
        a2a = item(a2, "A2a");
        b = item(tree.invisibleRootItem(), "B");
        tree.expandAll();
        tree.resize(300, 200);
        tree.show();
    }
    static QTreeWidgetItem *item(QTreeWidgetItem *parent, const char *text)
    {
        auto *i = new QTreeWidgetItem(parent, {QString::fromLatin1(text)});
        i->setFlags(i->flags() | Qt::ItemIsUserCheckable);
        i->setCheckState(0, Qt::Unchecked);
        return i;
    }

    // The centre of the item's check box, as the style places it.
    QPoint box(QTreeWidgetItem *item) const
    {
        QStyleOptionViewItem option;
        option.initFrom(&tree);
        option.rect = tree.visualItemRect(item);
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        option.text = item->text(0);
        return tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree).center();
    }
    QString states() const
    {
        QString s;
        for (QTreeWidgetItem *i : {a, a1, a2, a2a, b})
            s += i->checkState(0) == Qt::Checked ? u'x' : u'.';
        return s;
    }
};

} // namespace

TEST(CmyTreeCtrl, ABoxClickedPassesToEveryDescendantAndTellsOnce)
{
    Tree t;
    QSignalSpy spy(&t.tree, &CmyTreeCtrl::checkChanged);

    QTest::mouseClick(t.tree.viewport(), Qt::LeftButton, {}, t.box(t.a));
    EXPECT_EQ(t.states(), QStringLiteral("xxxx."));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(t.tree.currentItem(), nullptr);
    EXPECT_TRUE(t.tree.selectedItems().isEmpty());

    QTest::mouseClick(t.tree.viewport(), Qt::LeftButton, {}, t.box(t.a2));
    EXPECT_EQ(t.states(), QStringLiteral("xx..."));
    EXPECT_EQ(spy.count(), 2);

    // A click on the text selects nothing, checks nothing and tells nothing.
    QTest::mouseClick(t.tree.viewport(), Qt::LeftButton, {}, t.tree.visualItemRect(t.b).center());
    EXPECT_EQ(t.states(), QStringLiteral("xx..."));
    EXPECT_EQ(spy.count(), 2);
    EXPECT_TRUE(t.tree.selectedItems().isEmpty());
}

TEST(CmyTreeCtrl, SpaceTogglesTheItemAloneAndTells)
{
    Tree t;
    QSignalSpy spy(&t.tree, &CmyTreeCtrl::checkChanged);
    t.tree.setFocus();
    t.tree.setCurrentItem(t.a);
    QTest::keyClick(&t.tree, Qt::Key_Space);
    EXPECT_EQ(t.states(), QStringLiteral("x...."));
    EXPECT_EQ(spy.count(), 1);

    t.tree.SetCheckRecursive(t.tree.invisibleRootItem(), Qt::Checked);
    EXPECT_EQ(t.states(), QStringLiteral("xxxxx"));
    EXPECT_EQ(spy.count(), 1); // setting from code tells nothing
}
