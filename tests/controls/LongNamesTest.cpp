// A name of hundreds of characters in a drop-down or a tree: the open list
// stays within a long line's width under its combo (it once spread across
// the whole screen), the name is cut, and the whole name is the tooltip of
// its item, of the closed field showing it, and of a tree item showing it
// cut.
#include "CComboBoxFiller.h"
#include "CComboBoxSuper.h"
#include "CReadOnlyCB.h"
#include "CViewTree.h"
#include "ComboPopupBound.h"
#include "CutTextTips.h"
#include "QStringPrinter.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QScreen>
#include <QToolTip>
#include <QTreeWidgetItem>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

const QString LongName = QStringLiteral("Activité au nom très long ").repeated(12).left(291);

// Opens the list of `combo` and gives its window.
QWidget *openList(QComboBox *combo)
{
    combo->showPopup();
    return combo->view()->window();
}

} // namespace

TEST(LongNamesTest, TheOpenListOfADropDownStaysUnderItAndTellsCutNames)
{
    QWidget window;
    window.resize(800, 300);
    auto *readOnly = new CReadOnlyCB(&window);
    auto *chooser = new CComboBoxSuper(&window);
    chooser->move(200, 100);
    for (QComboBox *combo : {static_cast<QComboBox *>(readOnly), static_cast<QComboBox *>(chooser)}) {
        SCOPED_TRACE(combo->metaObject()->className());
        combo->resize(250, combo->sizeHint().height());
        CComboBoxFiller filler(combo);
        filler.AddItem(QStringLiteral("<Activité non définie>"), -1, -1, 0);
        filler.AddItem(LongName, -1, 31, 1);
        filler.AddItem(QStringLiteral("Courte"), -1, 34, 1);
        window.show();

        QWidget *list = openList(combo);
        const int widest = ComboPopupBound::MaxListWidth(combo);
        EXPECT_LT(widest, combo->screen()->availableGeometry().width());
        EXPECT_LE(list->width(), widest);
        EXPECT_GE(list->width(), combo->width());
        EXPECT_EQ(list->x(), combo->mapToGlobal(QPoint(0, 0)).x());
        EXPECT_EQ(combo->itemData(1, Qt::ToolTipRole).toString(), LongName);
        EXPECT_FALSE(combo->itemData(2, Qt::ToolTipRole).isValid());
        combo->hidePopup();

        // The closed field tells the whole name only while it shows it cut.
        combo->setCurrentIndex(1);
        EXPECT_EQ(combo->toolTip(), LongName);
        combo->setCurrentIndex(2);
        EXPECT_TRUE(combo->toolTip().isEmpty());
        // A tooltip of the combo's own stays.
        combo->setToolTip(QStringLiteral("Choisir"));
        combo->setCurrentIndex(1);
        EXPECT_EQ(combo->toolTip(), QStringLiteral("Choisir"));
    }
}

TEST(LongNamesTest, APaneTreeCutsALongNameAndTellsItWhole)
{
    CViewTree tree;
    tree.resize(220, 200);
    auto *item = new QTreeWidgetItem(QStringList{LongName});
    auto *shortItem = new QTreeWidgetItem(QStringList{QStringLiteral("Court")});
    tree.addTopLevelItems({item, shortItem});
    tree.show();
    const QModelIndex longIndex = tree.indexFromItem(item);
    const QModelIndex shortIndex = tree.indexFromItem(shortItem);
    // The column stays within the pane: no sideways scrolling.
    EXPECT_LE(tree.visualRect(longIndex).right(), tree.viewport()->width());
    EXPECT_FALSE(CutTextTips::ShowsWhole(&tree, longIndex));
    EXPECT_TRUE(CutTextTips::ShowsWhole(&tree, shortIndex));

    const QPoint at = tree.visualRect(longIndex).center();
    QHelpEvent help(QEvent::ToolTip, at, tree.viewport()->mapToGlobal(at));
    QApplication::sendEvent(tree.viewport(), &help);
    EXPECT_EQ(QToolTip::text(), LongName);
    QToolTip::hideText();
}
