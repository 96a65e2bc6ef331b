#pragma once
// What the tests of the tree panes share: a user "Anne" with her database,
// records saved the way the program saves them, and another connection that
// holds a database file locked while it lives.
#include "AppFixture.h"
#include "CmyDataBase.h"
#include "MyTable.h"
#include "WidgetIds.h"
#include "tElement.h"

#include <QAction>
#include <QMenu>

#include <QTreeWidget>
#include <QTreeWidgetItem>

// Another program in the middle of a write: the file stays locked, and
// connections opened meanwhile give up at once instead of waiting.
class HeldFile
{
public:
    explicit HeldFile(const QString &path)
        : m_saved(SQLite::CmyDataBase::BusyTimeoutMs())
    {
        SQLite::CmyDataBase::SetBusyTimeoutMs(0);
        CBdD::CloseSharedConnection();
        EXPECT_EQ(m_other.Open(path), 0);
        EXPECT_EQ(m_other.Execute(u"BEGIN EXCLUSIVE"), 0);
    }
    ~HeldFile()
    {
        m_other.RollbackTransaction();
        SQLite::CmyDataBase::SetBusyTimeoutMs(m_saved);
    }
    HeldFile(const HeldFile &) = delete;
    HeldFile &operator=(const HeldFile &) = delete;

private:
    int m_saved;
    SQLite::CmyDataBase m_other;
};

class PaneFixture : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        userId = addUser(QStringLiteral("Anne"));
    }

    static int saveProject(const QString &name, int parent = -1)
    {
        tElement e;
        e.Nom = name;
        e.Parent = parent;
        CBdD db;
        EXPECT_TRUE(db.SaveProject(&e, nullptr));
        return e.Id;
    }
    static int saveActivity(const QString &name)
    {
        tElement e;
        e.Nom = name;
        CBdD db;
        EXPECT_TRUE(db.SaveActivity(e));
        return e.Id;
    }
    static int saveRate(const QString &name)
    {
        tElement e;
        e.Nom = name;
        CBdD db;
        EXPECT_TRUE(db.SaveRate(e));
        return e.Id;
    }
    // The store reloaded as after a change of the projects.
    static void reloadStore()
    {
        CBdD db;
        db.LoadActivities(nullptr, nullptr, true, QString());
        db.LoadProjects(-1, nullptr);
    }
    // The first cell of a query on the user's database.
    static QString cell(const QString &sql)
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(sql);
        return t.hasRows() ? t->GetCell(0, 0) : QStringLiteral("<none>");
    }
    static void select(QTreeWidget *tree, QTreeWidgetItem *item)
    {
        tree->setCurrentItem(item);
        item->setSelected(true);
    }
    // "name" for each child of `item`, "name{...}" with its children.
    static QString shape(const QTreeWidgetItem *item)
    {
        QStringList parts;
        for (int i = 0; i < item->childCount(); ++i) {
            const QTreeWidgetItem *c = item->child(i);
            parts << (c->childCount() ? c->text(0) + u'{' + shape(c) + u'}' : c->text(0));
        }
        return parts.join(u' ');
    }
    // A menu as its command numbers: "|" for a separator, "popup" for a
    // pop-up.
    static QString commandIds(const QMenu *menu)
    {
        QStringList ids;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                ids << QStringLiteral("|");
            else if (action->menu())
                ids << QStringLiteral("popup");
            else
                ids << QString::number(WidgetIds::CommandId(action));
        }
        return ids.join(u' ');
    }
    QString anneDatabase() const { return databaseOf(QStringLiteral("Anne")); }

    int userId = -1;
};
