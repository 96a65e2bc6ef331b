#include "CViewDetailSynchro.h"
#include "CViewDetailSynchroForecast.h"
#include "CViewDetailSynchroTask.h"
#include "CViewPcInfos.h"
#include "CTranslationStore.h"
#include "TranslateWidgets.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLayout>
#include <gtest/gtest.h>

// Every pane keeps its group box 3 pixels inside and its fields ending 8
// pixels before the group's right edge, whatever its size; every label has
// its text.
TEST(DetailPanes, MarginsHoldAtEverySizeAndEveryLabelHasItsText)
{
    CViewDetailSynchro element;
    element.SetKind(1);
    CViewDetailSynchroTask task;
    CViewDetailSynchroForecast forecast;
    const std::pair<CSyncDetailPane *, int> panes[] = {
        {&element, CViewDetailSynchro::ParentField},
        {&task, CViewDetailSynchroTask::NotesField},
        {&forecast, CViewDetailSynchroForecast::NotesField},
    };
    CTranslationStore store;
    for (const auto &[pane, fieldId] : panes) {
        SCOPED_TRACE(pane->DialogId());
        EXPECT_TRUE(ControlsWithoutText(pane, store, pane->DialogId()).isEmpty());
        pane->show();
        for (const QSize size : {QSize(420, 400), QSize(700, 520)}) {
            pane->resize(size);
            QCoreApplication::sendPostedEvents();
            pane->layout()->activate();
            QCoreApplication::sendPostedEvents();
            const QGroupBox *group = pane->findChild<QGroupBox *>();
            ASSERT_NE(group, nullptr);
            EXPECT_EQ(group->geometry(), pane->rect().adjusted(3, 3, -3, -3));
            QWidget *field = pane->Field(fieldId);
            ASSERT_NE(field, nullptr);
            const int right = field->mapTo(group, QPoint(field->width(), 0)).x();
            EXPECT_EQ(right, group->contentsRect().right() + 1 - 8) << size.width();
        }
    }
}

TEST(DetailPanes, ClearEmptiesEverySide)
{
    CViewDetailSynchro element;
    element.SetKind(5);
    element.ShowFavorite(QStringLiteral("Chantier"), QStringLiteral("Pose"), QStringLiteral("Normal"),
                         QStringLiteral("Carrelage"));
    EXPECT_EQ(element.FieldText(CViewDetailSynchro::RateField), u"Normal");
    element.Clear();
    for (int id : {CViewDetailSynchro::NameField, CViewDetailSynchro::CommentField, CViewDetailSynchro::RateField,
                   CViewDetailSynchro::TitleField})
        EXPECT_TRUE(element.FieldText(id).isEmpty()) << id;
    EXPECT_FALSE(element.IsSwatchShown());

    CViewPcInfos infos;
    infos.SetCaption(QStringLiteral("BdD locale"));
    infos.SetLine(0, QStringLiteral("Synchronisée le : 02/03/2026"));
    infos.SetLine(3, QStringLiteral("ignored"));
    EXPECT_EQ(infos.Line(0), u"Synchronisée le : 02/03/2026");
    EXPECT_TRUE(infos.Line(3).isEmpty());
    EXPECT_EQ(infos.Caption(), u"BdD locale");
}
