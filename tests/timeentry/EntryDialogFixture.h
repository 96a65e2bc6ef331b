#pragma once
// What the tests of the entry dialogs share beyond the calendar fixture:
// the controls by their numbers, choosing in a combo and clicking as a user
// does, the live entries as text, a trigger that makes writes fail, and
// the dialogs' services put back after each test.
#include "CalendarFixture.h"
#include "EntryDialogServices.h"
#include "EntryDialogWidgets.h"
#include "MessageBoxAnswers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

class EntryDialogFixture : public CalendarFixture
{
protected:
    void TearDown() override
    {
        EntryDialogServices::Registered() = EntryDialogServices();
        CalendarFixture::TearDown();
    }

    template <class W = QWidget>
    static W *control(const QWidget &dialog, int id)
    {
        W *w = qobject_cast<W *>(FindControl(&dialog, id));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }
    static bool shown(const QWidget &dialog, int id)
    {
        const QWidget *w = FindControl(&dialog, id);
        return w && w->isVisibleTo(&dialog);
    }
    static void click(const QWidget &dialog, int id)
    {
        QTest::mouseClick(control(dialog, id), Qt::LeftButton);
    }
    // Chooses the item carrying `id` in the combo's open list with the
    // mouse, as a user does.
    static void choose(QComboBox *combo, int id)
    {
        const int target = combo->findData(id);
        ASSERT_GE(target, 0) << "no item " << id;
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        const QRect item = list->visualRect(list->model()->index(target, 0));
        ASSERT_TRUE(item.isValid()) << "item " << id << " not in view";
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        EXPECT_EQ(combo->currentIndex(), target);
        EXPECT_FALSE(list->isVisible()) << "the list closes";
    }
    static void choose(const QWidget &dialog, int comboId, int id) { choose(control<QComboBox>(dialog, comboId), id); }

    // "start-end" of every live entry in start order.
    static QString liveEntries()
    {
        CBdD db;
        SQLite::MyTablePtr t = db.Query(QStringLiteral(
            "select group_concat(Debut||'-'||Fin, ' ') from (select Debut, Fin from Taches where Deleted=0 "
            "order by Debut, Fin)"));
        return t.hasRows() ? t->GetCell(0, 0) : QString();
    }
    static QString span(qint64 start, qint64 end) { return QStringLiteral("%1-%2").arg(start).arg(end); }

    // Every write of Taches fails from now on, as when the other program
    // holds or refuses the file.
    static void refuseWrites()
    {
        CBdD db;
        for (const char *when : {"INSERT", "UPDATE"}) {
            ASSERT_EQ(db.Execute(QStringLiteral("create trigger refuse_%1 before %1 on Taches begin "
                                                "select raise(abort, 'refused'); end")
                                     .arg(QLatin1String(when))),
                      0);
        }
    }
    static void acceptWrites()
    {
        CBdD db;
        db.Execute(u"drop trigger if exists refuse_INSERT");
        db.Execute(u"drop trigger if exists refuse_UPDATE");
    }

    int saveRate(const QString &name, float value)
    {
        tElement r;
        r.Nom = name;
        r.Valeur = value;
        CBdD db;
        EXPECT_TRUE(db.SaveRate(r));
        return r.Id;
    }
    // A project with a default activity and rate.
    int saveProject(const QString &name, int activity, int rate)
    {
        tElement e;
        e.Nom = name;
        e.Activity = activity;
        e.IdTauxHoraire = rate;
        CBdD db;
        EXPECT_TRUE(db.SaveProject(&e, nullptr));
        reloadStore();
        return e.Id;
    }
    int saveActivity(const QString &name, int rate)
    {
        tElement e;
        e.Nom = name;
        e.IdTauxHoraire = rate;
        CBdD db;
        EXPECT_TRUE(db.SaveActivity(e));
        reloadStore();
        return e.Id;
    }
    using CalendarFixture::saveActivity;
    using CalendarFixture::saveProject;

    static tTacheFull entryAt(qint64 start, qint64 end, int project = -1, int activity = -1)
    {
        tTacheFull e;
        e.Debut = start;
        e.Fin = end;
        e.IdProjet = project;
        e.IdActivite = activity;
        return e;
    }
};
