// `cmake --install` into a prefix of the test's own (with a blank in its
// name): both programs with their texts beside them, a desktop entry each
// that desktop-file-validate accepts and whose Exec names the installed
// program, and the application's icon.
#include "TestFolders.h"
#include "TrayAutostart.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {
constexpr int Patience = 120000;

QString run(const QString &program, const QStringList &arguments, int *code)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    p.waitForFinished(Patience);
    *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAll());
}
} // namespace

TEST(InstallTest, BothProgramsGetADesktopEntryAndTheIcon)
{
    const QString prefix = TestFolders::root() + QStringLiteral("/mon préfixe");
    int code = 0;
    const QString log = run(QStringLiteral(CMAKE_COMMAND),
                            {QStringLiteral("--install"), QStringLiteral(BUILD_DIR), QStringLiteral("--prefix"), prefix},
                            &code);
    ASSERT_EQ(code, 0) << log.toStdString();
    for (const char *file : {"bin/Zarvo", "bin/ZarvoTray", "bin/Fra/ZarvoFra.sdb", "bin/Fra/ZarvoTrayFra.sdb",
                             "bin/Fra/Demo/ZarvoFra.sdb", "share/icons/hicolor/scalable/apps/zarvo.svg"})
        EXPECT_TRUE(QFileInfo::exists(prefix + u'/' + QString::fromLatin1(file))) << file;

    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    for (const char *entry : {"zarvo", "zarvotray"}) {
        SCOPED_TRACE(entry);
        const QString path = prefix + QStringLiteral("/share/applications/") + QString::fromLatin1(entry) +
            QStringLiteral(".desktop");
        const QString text = QString::fromUtf8(TestFolders::readFile(path));
        ASSERT_FALSE(text.isEmpty());
        const QString program = prefix + (QLatin1String(entry) == u"zarvo" ? QStringLiteral("/bin/Zarvo")
                                                                            : QStringLiteral("/bin/ZarvoTray"));
        EXPECT_TRUE(text.contains(QStringLiteral("\nExec=") + TrayAutostart::ExecValue(program) + u'\n')) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=zarvo\n")));
        if (validate.isEmpty())
            continue;
        const QString out = run(validate, {path}, &code);
        EXPECT_EQ(code, 0) << out.toStdString();
        EXPECT_TRUE(out.trimmed().isEmpty()) << out.toStdString();
    }
    if (validate.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (package desktop-file-utils)";
}
