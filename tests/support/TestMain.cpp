#include "TestEnvironment.h"
#include "UnattendedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <ctime>

int main(int argc, char **argv)
{
    // Tests never depend on the machine: no display, a fixed time zone,
    // and folders of their own even before the first test starts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "Europe/Paris");
    tzset();
    QTemporaryDir processDir(QDir::tempPath() + QStringLiteral("/zarvo-run-XXXXXX"));
    TestEnvironment::pointEnvironmentAt(processDir.path());

    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestEnvironment);
    // Nobody answers here: a box or dialog asked with no answer queued
    // fails the test at once, naming itself, instead of waiting for the
    // test's time-out.
    UnattendedDialogs::SetReporter([](const QString &what) {
        ADD_FAILURE() << "Asked with no answer queued: " << what.toStdString();
    });
    return RUN_ALL_TESTS();
}
