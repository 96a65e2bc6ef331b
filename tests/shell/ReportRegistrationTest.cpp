// The report store wired into the application: start-up and user switches
// with the real registration, report windows stood in for by recording
// widgets.
#include "AppFixture.h"
#include "CReportStore.h"
#include "ReportColumnCatalogue.h"
#include "ReportPlaceholders.h"
#include "ReportRegistration.h"
#include "tReportDefinition.h"

#include <QDateTime>
#include <QWidget>

namespace {

class ReportRegistrationTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        placeholders = TakePlaceholderSnapshot();
        RegisterReports(*app);
        // A report window: a widget carrying its report, listed by the
        // application and gone when closed, as the real windows are.
        app->Windows().reportFrame = [this](int id, bool preview, int zoom, bool) -> QWidget * {
            auto *window = new QWidget;
            window->setAttribute(Qt::WA_DeleteOnClose);
            window->setProperty("reportId", id);
            window->setProperty("preview", preview);
            window->setProperty("zoom", zoom);
            window->show();
            app->ReportWindows().append(window);
            opened << QStringLiteral("%1 %2 %3").arg(id).arg(preview).arg(zoom);
            return window;
        };
    }
    void TearDown() override
    {
        RestorePlaceholderSnapshot(placeholders);
        Platform::Settings settings;
        PersistReportColumnSettings(true, settings);
        for (const QPointer<QWidget> &window : std::as_const(app->ReportWindows()))
            delete window.data();
        app->ReportWindows().clear();
        AppFixture::TearDown();
    }

    // Saved reports named `names` in the user's report database, their ids.
    QList<int> saveReports(const QString &user, const QStringList &names)
    {
        CReportStore store(usersFolder + user + QStringLiteral("/Zarvo.rpt"));
        QList<int> ids;
        for (const QString &name : names) {
            tReportDefinition d;
            d.Nom = name;
            EXPECT_TRUE(store.SaveReport(d));
            ids << d.Id;
        }
        return ids;
    }
    QList<tOnScreenReport> onScreen(const QString &user)
    {
        QList<tOnScreenReport> list;
        CReportStore(usersFolder + user + QStringLiteral("/Zarvo.rpt"))
            .ReopenOnScreenReports([&list](int id, bool preview, int zoom) { list.append({id, preview, zoom}); });
        return list;
    }

    tPlaceholderSnapshot placeholders;
    QStringList opened;
};

} // namespace

// The start reads the users' column captions, prepares the placeholders
// and reopens the reports of the last run in their stored order, with
// their mode and zoom; a report deleted since opens nothing.
TEST_F(ReportRegistrationTest, TheStartReopensTheReportsOfTheLastRun)
{
    addUser(QStringLiteral("Anne"));
    const QList<int> ids = saveReports(QStringLiteral("Anne"), {QStringLiteral("Un"), QStringLiteral("Deux")});
    CReportStore(usersFolder + QStringLiteral("Anne/Zarvo.rpt"))
        .SaveOnScreenReports({{ids[1], true, 1}, {99, false, 2}, {ids[0], false, 2}});
    Platform::Settings().setString(u"Colonnes", u"Duree", u"Name", QStringLiteral("Temps passé"));
    RestorePlaceholderSnapshot(tPlaceholderSnapshot());

    useMainWindow();
    Platform::Clock::setFixedNow(QDateTime(QDate(2024, 3, 31), QTime(12, 0)).toSecsSinceEpoch());
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(opened, (QStringList{QStringLiteral("%1 1 1").arg(ids[1]), QStringLiteral("%1 0 2").arg(ids[0])}));
    EXPECT_EQ(tReportColumn(5, true).GetCaption(), QStringLiteral("Temps passé"));
    QString text = QStringLiteral("<[Title]>");
    ReplacePlaceholders(text);
    EXPECT_EQ(text, QStringLiteral("<>"));
    EXPECT_EQ(app->Reports().reportType(ids[0]), 0);
    EXPECT_EQ(app->Reports().reportType(99), -1);
}

// A change of user stores the windows on screen in the previous user's
// report database, then opens the new user's in their stored order; the
// way back reopens the first user's.
TEST_F(ReportRegistrationTest, AUserSwitchSavesThenReopensInStoredOrder)
{
    const int bruno = addUser(QStringLiteral("Bruno"));
    const QList<int> brunos = saveReports(QStringLiteral("Bruno"), {QStringLiteral("A"), QStringLiteral("B"),
                                                                    QStringLiteral("C")});
    CReportStore(usersFolder + QStringLiteral("Bruno/Zarvo.rpt"))
        .SaveOnScreenReports({{brunos[2], false, 0}, {brunos[0], true, 3}, {brunos[1], false, 2}});
    const int anne = addUser(QStringLiteral("Anne"));
    const QList<int> annes = saveReports(QStringLiteral("Anne"), {QStringLiteral("X"), QStringLiteral("Y")});
    app->OpenReport(annes[1], true, 0, false);
    app->OpenReport(annes[0], false, 2, false);
    opened.clear();

    ASSERT_TRUE(app->SwitchUser(bruno));
    EXPECT_EQ(onScreen(QStringLiteral("Anne")),
              (QList<tOnScreenReport>{{annes[1], true, 0}, {annes[0], false, 2}}));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("%1 0 0").arg(brunos[2]), QStringLiteral("%1 1 3").arg(brunos[0]),
                                   QStringLiteral("%1 0 2").arg(brunos[1])}));
    opened.clear();

    ASSERT_TRUE(app->SwitchUser(anne));
    EXPECT_EQ(onScreen(QStringLiteral("Bruno")).size(), 3);
    EXPECT_EQ(opened, (QStringList{QStringLiteral("%1 1 0").arg(annes[1]), QStringLiteral("%1 0 2").arg(annes[0])}));
}
