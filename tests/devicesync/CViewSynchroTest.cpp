#include "CViewSynchro.h"

#include "CSynchroListCtrl.h"
#include "CViewDetailSynchro.h"
#include "CViewDetailSynchroForecast.h"
#include "CViewDetailSynchroTask.h"
#include "CMyEdit.h"
#include "ContextHelp.h"
#include "ImageList.h"
#include "SyncImages.h"
#include "SyncReviewFixture.h"
#include "SyncReviewModel.h"
#include "SyncReviewRules.h"
#include "Texts.h"
#include "UiUtilities.h"
#include "tToolTipContent.h"

#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

using Outcome = CBdD::CompareOutcome;

} // namespace

class CViewSynchroTest : public SyncReviewFixture
{
protected:
    void TearDown() override
    {
        CViewSynchro::SetOpenObserver(nullptr);
        SyncReviewFixture::TearDown();
    }

    // Loads the differences and waits for the worker to hand them over.
    static void load(CViewSynchro &view, const QString &devicePath, const QString &localPath)
    {
        QSignalSpy loaded(&view, &CViewSynchro::differencesLoaded);
        ASSERT_TRUE(view.LoadDifferences(devicePath, localPath));
        EXPECT_TRUE(view.IsLoading());
        // Nothing of a previous review stays to be decided on meanwhile.
        EXPECT_EQ(view.List().Count(), 0);
        EXPECT_FALSE(view.SynchroniseButtonCtrl()->isEnabled());
        EXPECT_FALSE(view.LoadDifferences(devicePath, localPath));
        ASSERT_TRUE(loaded.wait(30000));
        EXPECT_FALSE(view.IsLoading());
        EXPECT_EQ(view.SynchroniseButtonCtrl()->isEnabled(), !view.HasBlockingMessage());
    }
    // The first element row of a kind (the project order: its group row).
    static int rowOf(CViewSynchro &view, int kind)
    {
        const SyncReviewList &list = view.List();
        for (int row = 0; row < list.Count(); ++row) {
            if (list.At(row).kind == kind && list.At(row).item && (kind == 9 || !list.At(row).isGroup))
                return row;
        }
        ADD_FAILURE() << "no row of kind " << kind;
        return -1;
    }
    static int groupOf(CViewSynchro &view, int kind)
    {
        const SyncReviewList &list = view.List();
        for (int row = 0; row < list.Count(); ++row) {
            if (list.At(row).kind == kind && list.At(row).isGroup)
                return row;
        }
        return -1;
    }
    static QRect actionCell(CViewSynchro &view, int row)
    {
        CSynchroListCtrl *list = view.ListCtrl();
        return list->visualRect(list->Model()->index(row, SyncReviewModel::Action));
    }
    static QPoint iconCentre(CViewSynchro &view, int row, int action)
    {
        const QRect cell = actionCell(view, row);
        return QPoint(SyncReviewRules::IconLeft(cell.left(), cell.width(), action) + SyncReviewRules::IconSize / 2,
                      cell.center().y());
    }
    static void click(CViewSynchro &view, const QPoint &at)
    {
        QTest::mouseClick(view.ListCtrl()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    static int actionOf(CViewSynchro &view, int row) { return view.List().Item(row)->action; }

    void showView(CViewSynchro &view)
    {
        view.resize(1280, 800);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
};

TEST_F(CViewSynchroTest, LoadsTheDifferencesOnAWorkerAndTitlesTheTab)
{
    CViewSynchro view(nullptr);
    load(view, device, local);
    EXPECT_EQ(view.Outcome(), Outcome::Compared);
    // One element of each kind of table and the project order (its group row).
    EXPECT_EQ(view.Count(), 7);
    EXPECT_EQ(view.windowTitle(), u"Synchronisation (7 éléments)");
    EXPECT_EQ(view.ListCtrl()->Model()->rowCount(), view.List().Count());

    const struct
    {
        int kind;
        qint64 deviceId, localId;
        int action;
    } decisions[] = {{1, 100, 100, SyncItem::KeepLocal}, {2, 201, -1, SyncItem::TakeDevice},
                     {3, 301, 301, SyncItem::Delete},   {4, 400, 400, SyncItem::KeepLocal},
                     {5, 500, 500, SyncItem::KeepLocal}, {7, 600, 600, SyncItem::KeepLocal},
                     {9, 0, -1, SyncItem::KeepLocal}};
    for (const auto &d : decisions) {
        const int row = rowOf(view, d.kind);
        ASSERT_GE(row, 0);
        const SyncItem *item = view.List().Item(row);
        EXPECT_EQ(item->deviceId, d.deviceId) << d.kind;
        EXPECT_EQ(item->localId, d.localId) << d.kind;
        EXPECT_EQ(item->action, d.action) << d.kind;
    }
    // The group rows carry their captions; the element rows their names.
    const SyncReviewModel *model = view.ListCtrl()->Model();
    EXPECT_EQ(model->index(groupOf(view, 1), 0).data().toString(), u"Projets");
    EXPECT_EQ(model->index(rowOf(view, 1), SyncReviewModel::LocalName).data().toString(), u"Cuisine");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), u"Action");
}

TEST_F(CViewSynchroTest, NoDifferenceAndAFailedComparisonStayApart)
{
    CViewSynchro view(nullptr);
    QSignalSpy loaded(&view, &CViewSynchro::differencesLoaded);
    // The same database on both sides: compared, nothing to review.
    const QString copy = TestFolders::file(QStringLiteral("work/Same.sdb"));
    ASSERT_TRUE(QFile::copy(local, copy));
    load(view, copy, local);
    EXPECT_EQ(view.Outcome(), Outcome::Compared);
    EXPECT_EQ(view.Count(), 0);
    EXPECT_EQ(loaded.takeLast().at(1).toInt(), 0);

    // A comparison that fails leaves an empty list, told as a failure.
    load(view, device, local);
    ASSERT_EQ(view.Count(), 7);
    const QString missing = TestFolders::file(QStringLiteral("work/Missing.sdb"));
    load(view, missing, local);
    EXPECT_NE(view.Outcome(), Outcome::Compared);
    EXPECT_EQ(view.Count(), 0);
    EXPECT_EQ(view.List().Count(), 0);
    EXPECT_EQ(view.ListCtrl()->Model()->rowCount(), 0);
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(CViewSynchroTest, ClicksOnTheIconsChooseAnAllowedAction)
{
    CViewSynchro view(nullptr);
    load(view, device, local);
    showView(view);

    const int project = rowOf(view, 1);
    click(view, iconCentre(view, project, SyncItem::TakeDevice));
    EXPECT_EQ(actionOf(view, project), SyncItem::TakeDevice);
    click(view, iconCentre(view, project, SyncItem::Delete));
    EXPECT_EQ(actionOf(view, project), SyncItem::Delete);
    // The chosen icon again keeps it; between icons the third decides.
    click(view, iconCentre(view, project, SyncItem::Delete));
    EXPECT_EQ(actionOf(view, project), SyncItem::Delete);
    const QRect cell = actionCell(view, project);
    click(view, QPoint(cell.left() + cell.width() - 3, cell.center().y()));
    EXPECT_EQ(actionOf(view, project), SyncItem::KeepLocal);
    click(view, QPoint(cell.left() + 1, cell.center().y()));
    EXPECT_EQ(actionOf(view, project), SyncItem::TakeDevice);

    // Only on the device: its local row cannot be taken.
    const int activity = rowOf(view, 2);
    click(view, iconCentre(view, activity, SyncItem::KeepLocal));
    EXPECT_EQ(actionOf(view, activity), SyncItem::TakeDevice);
    // Deleted on the device: it cannot be taken from there.
    const int rate = rowOf(view, 3);
    click(view, iconCentre(view, rate, SyncItem::TakeDevice));
    EXPECT_EQ(actionOf(view, rate), SyncItem::Delete);
    click(view, iconCentre(view, rate, SyncItem::KeepLocal));
    EXPECT_EQ(actionOf(view, rate), SyncItem::KeepLocal);

    // The project order keeps the local order whatever is clicked.
    const int order = rowOf(view, 9);
    for (int action : {0, 1, 2})
        click(view, iconCentre(view, order, action));
    EXPECT_EQ(actionOf(view, order), SyncItem::KeepLocal);

    // A group row has no decision, and a click elsewhere on a row changes none.
    const int group = groupOf(view, 1);
    click(view, iconCentre(view, group, 0));
    EXPECT_EQ(view.List().Item(group), nullptr);
    const QRect name = view.ListCtrl()->visualRect(view.ListCtrl()->Model()->index(project, 0));
    click(view, name.center());
    EXPECT_EQ(actionOf(view, project), SyncItem::TakeDevice);
}

TEST_F(CViewSynchroTest, ToolTipTellsTheActionUnderTheCursor)
{
    CViewSynchro view(nullptr);
    load(view, device, local);
    showView(view);
    tToolTipContent content;
    const int activity = rowOf(view, 2);
    ASSERT_TRUE(view.ListCtrl()->ToolTipAt(iconCentre(view, activity, SyncItem::TakeDevice), content));
    EXPECT_EQ(content.description, u"Copie de l'appareil mobile\nvers l'ordinateur de bureau");
    EXPECT_EQ(content.image, 6);
    // Not allowed: the faint picture.
    ASSERT_TRUE(view.ListCtrl()->ToolTipAt(iconCentre(view, activity, SyncItem::KeepLocal), content));
    EXPECT_EQ(content.description, u"Copie de l'ordinateur de bureau\nvers l'appareil mobile");
    EXPECT_EQ(content.image, 11);
    // The last pixels of the cell count as the last third.
    const QRect cell = actionCell(view, activity);
    ASSERT_TRUE(view.ListCtrl()->ToolTipAt(QPoint(cell.right(), cell.center().y()), content));
    EXPECT_EQ(content.image, 11);
    EXPECT_FALSE(view.ListCtrl()->ToolTipAt(iconCentre(view, groupOf(view, 2), 0), content));
    EXPECT_FALSE(view.ListCtrl()->ToolTipAt(QPoint(cell.left() - 30, cell.center().y()), content));
}

TEST_F(CViewSynchroTest, PaintsTheChosenIconAndTheDeletedMarker)
{
    CViewSynchro view(nullptr);
    load(view, device, local);
    showView(view);
    CSynchroListCtrl *list = view.ListCtrl();
    const QImage shot = list->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const ImageList &images = SyncImages::ListImages();
    const QColor base = list->palette().color(QPalette::Base);
    // What the list must show at `topLeft`: the picture over the list's base.
    auto expectPicture = [&](int image, const QPoint &topLeft) {
        QImage expected(SyncReviewRules::IconSize, SyncReviewRules::IconSize, QImage::Format_RGB32);
        expected.fill(base);
        QPainter painter(&expected);
        images.Draw(painter, image, QPoint(0, 0));
        painter.end();
        const QImage shown = shot.copy(QRect(topLeft, expected.size()));
        EXPECT_EQ(shown, expected) << "image " << image << " at " << topLeft.x() << "," << topLeft.y();
    };
    const int rate = rowOf(view, 3); // delete chosen, device side deleted
    const QRect cell = actionCell(view, rate);
    const int top = cell.top() + (cell.height() - SyncReviewRules::IconSize) / 2;
    expectPicture(int(SyncReviewList::ChosenActionImage) + int(SyncItem::Delete),
                  QPoint(SyncReviewRules::IconLeft(cell.left(), cell.width(), 1), top));
    expectPicture(int(SyncReviewList::OtherActionImage) + int(SyncItem::TakeDevice),
                  QPoint(SyncReviewRules::IconLeft(cell.left(), cell.width(), 0), top));
    const QRect deviceDate = list->visualRect(list->Model()->index(rate, SyncReviewModel::DeviceModified));
    expectPicture(SyncReviewList::DeletedSideImage, QPoint(deviceDate.left(), top));
    // The live local side has no marker.
    const QRect localDate = list->visualRect(list->Model()->index(rate, SyncReviewModel::LocalModified));
    EXPECT_NE(shot.copy(QRect(QPoint(localDate.left(), top), QSize(20, 20))),
              shot.copy(QRect(QPoint(deviceDate.left(), top), QSize(20, 20))));
}

TEST_F(CViewSynchroTest, ARowShownTwiceOpensTheDatabasesOnce)
{
    QStringList opened;
    CViewSynchro::SetOpenObserver([&opened](const QString &path) { opened << path; });
    CViewSynchro view(nullptr);
    load(view, device, local);
    showView(view);
    const int project = rowOf(view, 1);
    const QRect name = view.ListCtrl()->visualRect(view.ListCtrl()->Model()->index(project, 0));
    click(view, name.center());
    EXPECT_EQ(opened, (QStringList{device, local}));
    click(view, name.center());
    view.ShowElement(project);
    EXPECT_EQ(opened.size(), 2);
    // A group row and the project order open nothing.
    view.ShowElement(groupOf(view, 2));
    view.ShowElement(rowOf(view, 9));
    EXPECT_EQ(opened.size(), 2);
    view.ShowElement(rowOf(view, 2));
    EXPECT_EQ(opened.size(), 4);
}

TEST_F(CViewSynchroTest, EachKindShowsItsPanesAndTexts)
{
    CViewSynchro view(nullptr);
    load(view, device, local);
    showView(view);
    using V = CViewDetailSynchro;
    using T = CViewDetailSynchroTask;
    using F = CViewDetailSynchroForecast;
    // Pictures of each kind for a person to look at.
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    auto picture = [&view, &keep](const char *name) {
        if (!keep.isEmpty())
            view.grab().save(keep + QStringLiteral("/sync-review-%1.png").arg(QLatin1String(name)));
    };
    auto panesShown = [&view](bool elements, bool tasks, bool forecasts) {
        for (auto side : {CViewSynchro::Device, CViewSynchro::Local}) {
            EXPECT_EQ(view.ElementPane(side)->isVisibleTo(&view), elements);
            EXPECT_EQ(view.TaskPane(side)->isVisibleTo(&view), tasks);
            EXPECT_EQ(view.ForecastPane(side)->isVisibleTo(&view), forecasts);
        }
    };
    panesShown(false, false, false);

    // A project: every line; the hostile device row shows no type and
    // keeps its long title whole in the field.
    view.ShowElement(rowOf(view, 1));
    panesShown(true, false, false);
    V *here = view.ElementPane(CViewSynchro::Local);
    V *there = view.ElementPane(CViewSynchro::Device);
    EXPECT_EQ(here->Kind(), 1);
    EXPECT_EQ(here->Caption(), u"BdD locale");
    EXPECT_EQ(there->Caption(), u"BdD appareil mobile");
    EXPECT_EQ(here->FieldText(V::NameField), u"Cuisine");
    EXPECT_EQ(here->FieldText(V::CommentField), u"Refaire la cuisine");
    EXPECT_EQ(here->FieldText(V::TitleField), u"Cuisine 2026");
    EXPECT_EQ(here->FieldText(V::ParentField), u"Client A");
    EXPECT_EQ(here->FieldText(V::ActivityField), u"Pose");
    EXPECT_EQ(here->FieldText(V::RateField), u"Normal");
    EXPECT_EQ(here->FieldText(V::TypeField), u"Client");
    EXPECT_EQ(here->TypeImageIndex(), GetProjectStateImage(2));
    EXPECT_TRUE(here->IsSwatchShown());
    EXPECT_EQ(here->SwatchColour(), 0x0000FFu);
    EXPECT_TRUE(here->IsLineShown(SyncDetailTexts::ParentLine));
    EXPECT_TRUE(there->FieldText(V::NameField).isEmpty());
    EXPECT_TRUE(there->FieldText(V::TypeField).isEmpty());
    EXPECT_EQ(there->TypeImageIndex(), -1);
    EXPECT_EQ(there->FieldText(V::TitleField).size(), 10000);
    EXPECT_TRUE(there->FieldText(V::ParentField).isEmpty());
    EXPECT_EQ(there->FieldText(V::ActivityField), u"<Activité non définie>");
    EXPECT_EQ(there->FieldText(V::RateField), u"<Taux horaire non défini>");
    const int projectHeight = here->sizeHint().height();
    picture("project");

    // An activity only on the device: the local side is empty; the pane
    // stops after the rate line.
    view.ShowElement(rowOf(view, 2));
    panesShown(true, false, false);
    EXPECT_EQ(there->FieldText(V::NameField), u"Peinture");
    EXPECT_EQ(there->FieldText(V::CommentField), u"Murs");
    EXPECT_FALSE(there->IsLineShown(SyncDetailTexts::ParentLine));
    EXPECT_TRUE(here->FieldText(V::NameField).isEmpty());
    EXPECT_LT(there->sizeHint().height(), projectHeight);
    picture("activity");

    // A rate: its value with "%g".
    view.ShowElement(rowOf(view, 3));
    EXPECT_EQ(here->FieldText(V::RateField), QStringLiteral("62") + CMyEdit::SystemDecimalSeparator() + u'5');
    EXPECT_EQ(there->FieldText(V::RateField), u"60");
    EXPECT_FALSE(there->IsSwatchShown());

    // A time entry: running here, finished and invoiced there.
    view.ShowElement(rowOf(view, 4));
    panesShown(false, true, false);
    T *task = view.TaskPane(CViewSynchro::Local);
    EXPECT_EQ(task->FieldText(T::ProjectField), u"Cuisine");
    EXPECT_EQ(task->FieldText(T::ActivityField), u"Pose");
    EXPECT_EQ(task->FieldText(T::EndField), u"En cours…");
    EXPECT_TRUE(task->FieldText(T::DurationField).isEmpty());
    EXPECT_EQ(task->FieldText(T::InvoicedText), u"Non facturée");
    T *deviceTask = view.TaskPane(CViewSynchro::Device);
    EXPECT_EQ(deviceTask->FieldText(T::DurationField), u"1:00");
    EXPECT_EQ(deviceTask->FieldText(T::NotesField), u"Fini");
    EXPECT_EQ(deviceTask->FieldText(T::InvoicedText), u"Facturée");
    picture("task");

    // A favourite: its project, activity, rate and title on the lines
    // labelled for a favourite.
    view.ShowElement(rowOf(view, 5));
    panesShown(true, false, false);
    EXPECT_EQ(here->Kind(), 5);
    EXPECT_EQ(here->FieldText(V::NameField), u"Cuisine");
    EXPECT_EQ(here->FieldText(V::CommentField), u"Pose");
    EXPECT_EQ(here->FieldText(V::TitleField), u"Poser");
    EXPECT_EQ(there->FieldText(V::NameField), u"Client A");
    EXPECT_EQ(there->FieldText(V::TitleField), u"Rendez-vous");
    picture("favourite");

    // A plan: the hostile device row shows no pictures and no start beyond
    // the calendar.
    view.ShowElement(rowOf(view, 7));
    panesShown(false, false, true);
    F *plan = view.ForecastPane(CViewSynchro::Local);
    F *devicePlan = view.ForecastPane(CViewSynchro::Device);
    EXPECT_EQ(plan->ImageIndex(F::PriorityImage), F::FirstPriorityImage + 2);
    EXPECT_EQ(plan->ImageIndex(F::StatusImage), F::FirstStatusImage + 3);
    EXPECT_FALSE(plan->FieldText(F::StartField).isEmpty());
    EXPECT_TRUE(plan->IsChecked(F::AfterPredecessorsCheck));
    EXPECT_TRUE(plan->FieldText(F::PlannedField).isEmpty());
    EXPECT_EQ(devicePlan->ImageIndex(F::PriorityImage), -1);
    EXPECT_EQ(devicePlan->ImageIndex(F::StatusImage), -1);
    EXPECT_TRUE(devicePlan->FieldText(F::StartField).isEmpty());
    EXPECT_FALSE(devicePlan->IsChecked(F::AfterPredecessorsCheck));
    picture("plan");

    // The project order and group rows show the empty element panes only.
    view.ShowElement(rowOf(view, 9));
    panesShown(false, false, false);
    EXPECT_EQ(here->Kind(), 0);
}

TEST_F(CViewSynchroTest, AMissingFileIsNeverCreatedAndNothingIsWritten)
{
    const QByteArray localBefore = hash(local);
    const QByteArray deviceBefore = hash(device);
    {
        CViewSynchro view(nullptr);
        load(view, device, local);
        showView(view);
        for (int kind : {1, 2, 3, 4, 5, 7})
            view.ShowElement(rowOf(view, kind));
        click(view, iconCentre(view, rowOf(view, 1), SyncItem::TakeDevice));
        EXPECT_EQ(hash(device), deviceBefore);
        // The device's copy goes away: its side is cleared, never made anew.
        ASSERT_TRUE(QFile::remove(device));
        view.ShowElement(rowOf(view, 2));
        view.ShowElement(rowOf(view, 1));
        EXPECT_TRUE(view.ElementPane(CViewSynchro::Device)->FieldText(CViewDetailSynchro::TitleField).isEmpty());
        EXPECT_EQ(view.ElementPane(CViewSynchro::Local)->FieldText(CViewDetailSynchro::NameField), u"Cuisine");
        EXPECT_FALSE(QFileInfo::exists(device));
    }
    EXPECT_EQ(hash(local), localBefore);
}

TEST_F(CViewSynchroTest, AMessageBlocksSynchronisingUntilItIsCleared)
{
    CViewSynchro view(nullptr);
    int runs = 0;
    view.SetSynchroniseRunner([&runs](CViewSynchro &) { ++runs; });
    EXPECT_FALSE(view.HasBlockingMessage());
    EXPECT_TRUE(view.SynchroniseButtonCtrl()->isEnabled());
    EXPECT_EQ(view.MessageShown(),
              u"Veuillez sélectionner un élément dans la liste pour obtenir plus d'informations.\n");

    load(view, device, local);
    showView(view);
    const QString warning = Platform::Texts::get(248);
    view.SetMessage(warning);
    EXPECT_TRUE(view.HasBlockingMessage());
    EXPECT_FALSE(view.SynchroniseButtonCtrl()->isEnabled());
    EXPECT_EQ(view.MessageShown(), warning);
    view.OnSynchronise();
    EXPECT_EQ(runs, 0);
    // With a row shown the message stays above the buttons while it blocks.
    view.ShowElement(rowOf(view, 1));
    EXPECT_TRUE(view.findChild<QLabel *>(QStringLiteral("messageText"))->isVisibleTo(&view));
    const QString keep = qEnvironmentVariable("ZARVO_SCREENSHOT_DIR");
    if (!keep.isEmpty())
        view.grab().save(keep + QStringLiteral("/sync-review-blocked.png"));

    view.SetMessage(QString());
    EXPECT_TRUE(view.SynchroniseButtonCtrl()->isEnabled());
    // The hint is not shown beside the panes of a row.
    EXPECT_FALSE(view.findChild<QLabel *>(QStringLiteral("messageText"))->isVisibleTo(&view));
    view.ShowElement(-1);
    EXPECT_TRUE(view.findChild<QLabel *>(QStringLiteral("messageText"))->isVisibleTo(&view));
    QCoreApplication::sendPostedEvents();
    if (!keep.isEmpty())
        view.grab().save(keep + QStringLiteral("/sync-review-hint.png"));
    view.SynchroniseButtonCtrl()->click();
    EXPECT_EQ(runs, 1);
    // F1 anywhere in the review opens its help.
    EXPECT_EQ(ContextHelp::ContextOf(view.ListCtrl()), ContextHelp::DialogContext(CViewSynchro::DialogId));
}

TEST_F(CViewSynchroTest, SynchroniserBacksTheUserUpThenRuns)
{
    for (bool backup : {true, false}) {
        SCOPED_TRACE(backup);
        config.backupSynchro = backup;
        QStringList steps;
        CAppData::SetUserBackupHook([&steps](int userId) {
            steps << QStringLiteral("backup %1").arg(userId);
            return false; // a failed backup does not stop the synchronisation
        });
        CViewSynchro view(nullptr);
        load(view, device, local);
        view.SetAssociatedUserId(12);
        view.SetSynchroniseRunner([&steps](CViewSynchro &v) {
            steps << QStringLiteral("run %1 %2").arg(v.List().Count()).arg(QFileInfo(v.DevicePath()).fileName());
        });
        view.SynchroniseButtonCtrl()->click();
        const QString run = QStringLiteral("run %1 Ppc.sdb").arg(view.List().Count());
        EXPECT_EQ(steps, (backup ? QStringList{QStringLiteral("backup 12"), run} : QStringList{run}));
    }
}

TEST_F(CViewSynchroTest, ClosingTheReviewIsCancel)
{
    int cancels = 0;
    {
        CViewSynchro view(nullptr);
        view.SetCancelHandler([&cancels] { ++cancels; });
        view.show();
        view.CancelButtonCtrl()->click();
        EXPECT_EQ(cancels, 1);
        EXPECT_TRUE(view.HasEnded());
        view.close();
        EXPECT_EQ(cancels, 1);
    }
    {
        CViewSynchro view(nullptr);
        view.SetCancelHandler([&cancels] { ++cancels; });
        view.show();
        view.close();
        EXPECT_EQ(cancels, 2);
    }
    {
        // Ended after a synchronisation: no cancel.
        CViewSynchro view(nullptr);
        view.SetCancelHandler([&cancels] { ++cancels; });
        view.show();
        view.EndReview();
        EXPECT_EQ(cancels, 2);
    }
    // Destroyed while comparing: the worker is stopped and waited for.
    CViewSynchro view(nullptr);
    ASSERT_TRUE(view.LoadDifferences(device, local));
}

TEST_F(CViewSynchroTest, APlanGoneFromASideClearsThatSide)
{
    CViewSynchro view(nullptr);
    load(view, device, local);
    // The device's plan row goes after the comparison: reading it gives no
    // row, and the side shows nothing rather than a plan of defaults.
    exec(device, QStringLiteral("delete from Forecast where rowid=600"));
    view.ShowElement(rowOf(view, 7));
    using F = CViewDetailSynchroForecast;
    F *gone = view.ForecastPane(CViewSynchro::Device);
    EXPECT_FALSE(gone->IsChecked(F::AfterPredecessorsCheck));
    EXPECT_FALSE(gone->IsChecked(F::AutoCheck));
    EXPECT_EQ(gone->ImageIndex(F::StatusImage), -1);
    F *here = view.ForecastPane(CViewSynchro::Local);
    EXPECT_TRUE(here->IsChecked(F::AfterPredecessorsCheck));
    EXPECT_EQ(here->ImageIndex(F::PriorityImage), F::FirstPriorityImage + 2);
}

TEST_F(CViewSynchroTest, TheKeyboardMovesThroughTheRowsAndShowsEach)
{
    CViewSynchro view(nullptr);
    load(view, device, local);
    showView(view);
    CSynchroListCtrl *list = view.ListCtrl();
    list->setFocus();
    list->setCurrentIndex(list->Model()->index(rowOf(view, 1), 0));
    EXPECT_EQ(view.ShownRow(), rowOf(view, 1));
    EXPECT_EQ(view.ElementPane(CViewSynchro::Local)->FieldText(CViewDetailSynchro::NameField), u"Cuisine");
    // Down: the project order's row, which has no detail.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(view.ShownRow(), rowOf(view, 9));
    EXPECT_EQ(view.ElementPane(CViewSynchro::Local)->Kind(), 0);
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(view.ShownRow(), rowOf(view, 4));
    EXPECT_TRUE(view.TaskPane(CViewSynchro::Local)->isVisibleTo(&view));
    // Tab leaves the list for the buttons.
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_FALSE(list->hasFocus());
}
