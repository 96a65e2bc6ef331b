// A list over its buttons on a page that an area scrolls downwards, beside
// a taller page of the same stack: where the view is shorter than the
// contents, the list gives up height so that its buttons show without
// scrolling; where the view holds everything, the list takes the height
// of its page.
#include "CFitScrollArea.h"
#include "CStretchInView.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <string>

namespace {

// A dialog whose scrolling part holds two tabs: a tall page first, then a
// list with its buttons under it.
class TabsDialog : public QDialog
{
public:
    TabsDialog()
    {
        tabs = new QTabWidget;
        auto *tall = new QWidget;
        tall->setMinimumHeight(TallPage);
        tabs->addTab(tall, QStringLiteral("Suivi de projet"));
        auto *page = new QWidget;
        list = new QListWidget(page);
        add = new QPushButton(QStringLiteral("Ajouter"), page);
        remove = new QPushButton(QStringLiteral("Supprimer"), page);
        auto *buttons = new QHBoxLayout;
        buttons->addStretch(1);
        buttons->addWidget(add);
        buttons->addWidget(remove);
        auto *column = new QVBoxLayout(page);
        column->addWidget(list, 1);
        column->addLayout(buttons);
        column->addStretch(0);
        new CStretchInView(list, add);
        tabs->addTab(page, QStringLiteral("Prédécesseurs"));
        area = new CFitScrollArea(tabs, this);
        // As on a screen too small for the tall page: the area scrolls.
        area->setMinimumHeight(120);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(area, 1);
        layout->addWidget(new QPushButton(QStringLiteral("OK"), this));
    }
    // Where `w` lies in the area's view.
    QRect InView(const QWidget *w) const { return QRect(w->mapTo(area->viewport(), QPoint(0, 0)), w->size()); }

    static constexpr int TallPage = 700;
    QTabWidget *tabs = nullptr;
    QListWidget *list = nullptr;
    QPushButton *add = nullptr;
    QPushButton *remove = nullptr;
    CFitScrollArea *area = nullptr;
};

} // namespace

TEST(StretchInViewTest, TheRoomLeftInTheView)
{
    struct Case
    {
        const char *name;
        int view, contents, above, under, least, room;
    };
    const Case cases[] = {
        {"the view holds the contents", 400, 400, 30, 40, 60, QWIDGETSIZE_MAX},
        {"the view holds more", 500, 400, 30, 40, 60, QWIDGETSIZE_MAX},
        {"contents one pixel taller", 400, 401, 30, 40, 60, 330},
        {"a short view", 300, 700, 30, 40, 60, 230},
        {"a view too short for the least height", 100, 700, 30, 40, 60, 60},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CStretchInView::Room(c.view, c.contents, c.above, c.under, c.least), c.room);
    }
}

TEST(StretchInViewTest, TheListGivesUpHeightForItsButtonsOnlyWhereTheViewIsShort)
{
    TabsDialog dialog;
    dialog.resize(500, 320);
    dialog.show();
    QApplication::processEvents();
    ASSERT_GT(dialog.tabs->height(), dialog.area->viewport()->height());

    dialog.tabs->setCurrentIndex(1);
    QApplication::processEvents();
    EXPECT_EQ(dialog.area->verticalScrollBar()->value(), 0);
    const int view = dialog.area->viewport()->height();
    for (const QPushButton *button : {dialog.add, dialog.remove}) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_GE(dialog.InView(button).top(), 0);
        EXPECT_LE(dialog.InView(button).bottom(), view - 1);
    }
    // The list gave up only what its buttons need: they stand right under
    // it, at the bottom of the view.
    EXPECT_LT(dialog.InView(dialog.list).bottom(), dialog.InView(dialog.add).top());
    EXPECT_GT(dialog.InView(dialog.add).bottom(), view - 3 * dialog.add->height());

    // The view made taller than the contents: the list takes its page's
    // height, its buttons at the bottom of the page.
    dialog.resize(500, TabsDialog::TallPage + 200);
    QApplication::processEvents();
    ASSERT_GE(dialog.area->viewport()->height(), dialog.tabs->height());
    EXPECT_EQ(dialog.list->maximumHeight(), QWIDGETSIZE_MAX);
    QWidget *page = dialog.tabs->currentWidget();
    EXPECT_GT(dialog.add->geometry().bottom(), page->height() - 3 * dialog.add->height());

    // Short again: the buttons back in the view.
    dialog.resize(500, 320);
    QApplication::processEvents();
    EXPECT_LE(dialog.InView(dialog.add).bottom(), dialog.area->viewport()->height() - 1);
}
