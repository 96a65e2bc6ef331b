// A value typed into a field and, at once, a command run by a click on a
// button that takes no focus (a tool button, a toolbar's button), by a
// menu or by its key: the command acts on the value the field shows, never on the one
// from before the typing. The fields that wait for Enter or the focus
// leaving (the days-off page's dates, the toolbar's date) are the rows.
#include "AppFixture.h"
#include "CCommandTable.h"
#include "CConfiguration.h"
#include "CMainFrame.h"
#include "CMyDateTimeCtrl.h"
#include "CMyMFCToolBarDateTimeCtrl.h"
#include "COptDayOff.h"
#include "COptionsContext.h"
#include "CPrefsDialog.h"
#include "DateFieldTyping.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "Texts.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <memory>

namespace {

class TypedFieldCommandsTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        Platform::Clock::setFixedNow(QDateTime(QDate(2026, 12, 10), QTime(10, 0)).toSecsSinceEpoch());
        addUser(QStringLiteral("Anne"));
        ASSERT_TRUE(app->InitInstance());
        frame = app->MainFrame();
        ASSERT_NE(frame, nullptr);
        frame->DatePicker()->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    }
    void TearDown() override
    {
        page.reset();
        options.reset();
        context.reset();
        AppFixture::TearDown();
    }

    // The days-off page in its frame, in front; no day off yet.
    void openDaysOff()
    {
        app->Configuration().daysOff.FromText(QString());
        page.reset();
        options.reset();
        context = std::make_unique<COptionsContext>(app->Configuration());
        options = std::make_unique<CPrefsDialog>();
        page = std::make_unique<COptDayOff>(*context);
        options->AddPage(page.get(), 0, QStringLiteral("Vacances"));
        options->show();
        QApplication::setActiveWindow(options.get());
        // The page's layout is made once the events of its showing ran.
        QCoreApplication::processEvents();
        field(COptDayOff::StartDate)->setDate(QDate(2026, 12, 1));
        field(COptDayOff::EndDate)->setDate(QDate(2026, 12, 1));
    }
    CMyDateTimeCtrl *field(int id) const { return page->findChild<CMyDateTimeCtrl *>(QString::number(id)); }
    QWidget *addButton() const { return page->findChild<QToolButton *>(QString::number(COptDayOff::AddRange)); }
    QString daysOff() const
    {
        QStringList lines;
        const auto *list = page->findChild<QListWidget *>(QString::number(COptDayOff::DaysList));
        for (int i = 0; list && i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines.join(u'|');
    }
    QString range(const QDate &first, const QDate &last) const
    {
        const CConfiguration &config = app->Configuration();
        return Platform::Formatter::message(Platform::Texts::get(114), {config.FormatOleDate(first, false),
                                                                        config.FormatOleDate(last, false)});
    }

    // The main window in front, its date on 10 December 2026; the options
    // of a row before closed (they are modal: no key would reach the main
    // window's commands).
    void openFrame()
    {
        page.reset();
        options.reset();
        frame->show();
        QApplication::setActiveWindow(frame);
        app->SetCurrentDate(QDate(2026, 12, 10), false);
    }
    // The toolbar's button of a command, shown and enabled.
    QWidget *toolButton(int id) const
    {
        QAction *action = frame->ToolBarAction(id);
        EXPECT_NE(action, nullptr) << id;
        if (!action)
            return nullptr;
        action->setVisible(true);
        frame->Commands().Action(id)->setEnabled(true);
        QWidget *button = frame->MainToolBar()->widgetForAction(action);
        EXPECT_NE(button, nullptr) << id;
        return button;
    }
    // Opens a menu of the menu bar with a click and clicks its item of
    // command `id`.
    void clickMenuItem(const QString &menuKey, int id)
    {
        QMenu *menu = frame->menuBar()->findChild<QMenu *>(menuKey);
        ASSERT_NE(menu, nullptr);
        frame->Commands().Action(id)->setEnabled(true);
        frame->Commands().Action(id)->setVisible(true);
        const QRect title = frame->menuBar()->actionGeometry(menu->menuAction());
        QTest::mouseClick(frame->menuBar(), Qt::LeftButton, {}, title.center());
        ASSERT_TRUE(menu->isVisible());
        QAction *item = frame->Commands().Action(id);
        ASSERT_TRUE(menu->actions().contains(item));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    CMainFrame *frame = nullptr;
    std::unique_ptr<COptionsContext> context;
    std::unique_ptr<CPrefsDialog> options;
    std::unique_ptr<COptDayOff> page;
};

} // namespace

TEST_F(TypedFieldCommandsTest, ACommandRunAtOnceActsOnTheValueTyped)
{
    const DateFieldTyping::FrenchFields french;
    const struct
    {
        const char *what;
        std::function<void()> open;
        // The field typed into, then what is typed (the character clicked
        // before, -1 for the whole field) and the date it shows then.
        std::function<QDateTimeEdit *()> field;
        int click;
        const char *keys;
        QDate shown;
        // The command, run by a click that moves no focus, and what it
        // stored.
        std::function<void()> command;
        std::function<QString()> stored;
        QString expected;
    } rows[] = {
        {"days off: a whole start and a whole end, then \"+\"", [&] { openDaysOff(); },
         [&] {
             DateFieldTyping::Type(field(COptDayOff::StartDate), -1, QStringLiteral("24/12/2026"));
             return field(COptDayOff::EndDate);
         },
         -1, "02/01/2027", QDate(2027, 1, 2), [&] { QTest::mouseClick(addButton(), Qt::LeftButton); },
         [&] { return daysOff(); }, range(QDate(2026, 12, 24), QDate(2027, 1, 2))},
        {"days off: the end's day alone, then \"+\"", [&] { openDaysOff(); },
         [&] { return field(COptDayOff::EndDate); }, 0, "31", QDate(2026, 12, 31),
         [&] { QTest::mouseClick(addButton(), Qt::LeftButton); }, [&] { return daysOff(); },
         range(QDate(2026, 12, 1), QDate(2026, 12, 31))},
        {"days off: the start's month alone, then \"+\"", [&] { openDaysOff(); },
         [&] { return field(COptDayOff::StartDate); }, 4, "11", QDate(2026, 11, 1),
         [&] { QTest::mouseClick(addButton(), Qt::LeftButton); }, [&] { return daysOff(); },
         range(QDate(2026, 11, 1), QDate(2026, 12, 1))},
        {"toolbar date: a whole date, then the toolbar's next day", [&] { openFrame(); },
         [&] { return frame->DatePicker(); }, -1, "15/06/2027", QDate(2027, 6, 15),
         [&] { QTest::mouseClick(toolButton(32850), Qt::LeftButton); },
         [&] { return app->CurrentDate().toString(Qt::ISODate); }, QStringLiteral("2027-06-16")},
        {"toolbar date: the day alone, then the toolbar's previous week", [&] { openFrame(); },
         [&] { return frame->DatePicker(); }, 0, "24", QDate(2026, 12, 24),
         [&] { QTest::mouseClick(toolButton(32852), Qt::LeftButton); },
         [&] { return app->CurrentDate().toString(Qt::ISODate); }, QStringLiteral("2026-12-17")},
        // The commands that move the date have no key of their own: the
        // next day is given one, as any command run by its key.
        {"toolbar date: a whole date, then the next day by its key", [&] { openFrame(); },
         [&] { return frame->DatePicker(); }, -1, "15/06/2027", QDate(2027, 6, 15),
         [&] {
             QAction *next = frame->Commands().Action(32850);
             next->setEnabled(true);
             next->setShortcut(QKeySequence(Qt::Key_F6));
             frame->addAction(next);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
         },
         [&] { return app->CurrentDate().toString(Qt::ISODate); }, QStringLiteral("2027-06-16")},
        {"toolbar date: a whole date, then the View menu's next week", [&] { openFrame(); },
         [&] { return frame->DatePicker(); }, -1, "03/02/2027", QDate(2027, 2, 3),
         [&] { clickMenuItem(QStringLiteral("-3"), 32856); },
         [&] { return app->CurrentDate().toString(Qt::ISODate); }, QStringLiteral("2027-02-10")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        row.open();
        QDateTimeEdit *typed = row.field();
        ASSERT_NE(typed, nullptr);
        DateFieldTyping::Type(typed, row.click, QString::fromLatin1(row.keys));
        ASSERT_EQ(QApplication::focusWidget(), typed) << "the field keeps the focus";
        ASSERT_EQ(typed->text(), row.shown.toString(QStringLiteral("dd/MM/yyyy")));
        row.command();
        EXPECT_EQ(row.stored(), row.expected);
        EXPECT_EQ(typed->date(), typed == frame->DatePicker() ? app->CurrentDate() : row.shown)
            << "the field shows what was taken";
    }
}
