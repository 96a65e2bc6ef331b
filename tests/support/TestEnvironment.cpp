#include "TestEnvironment.h"

#include "Clock.h"
#include "Settings.h"

#include <QDir>
#include <QFile>

namespace {
QString &rootPath()
{
    static QString path;
    return path;
}
} // namespace

QString TestEnvironment::currentRoot()
{
    return rootPath();
}

void TestEnvironment::pointEnvironmentAt(const QString &root)
{
    const auto setDir = [&root](const char *var, const QString &sub) {
        const QString path = root + u'/' + sub;
        QDir().mkpath(path);
        qputenv(var, QFile::encodeName(path));
        return path;
    };
    setDir("HOME", QStringLiteral("home"));
    const QString config = setDir("XDG_CONFIG_HOME", QStringLiteral("home/.config"));
    setDir("XDG_DATA_HOME", QStringLiteral("home/.local/share"));
    setDir("XDG_CACHE_HOME", QStringLiteral("home/.cache"));
    setDir("XDG_STATE_HOME", QStringLiteral("home/.local/state"));
    const QString runtime = setDir("XDG_RUNTIME_DIR", QStringLiteral("runtime"));
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    Platform::Settings::setFilePathOverride(config + QStringLiteral("/Quellmark/Zarvo.conf"));
    rootPath() = root;
}

void TestEnvironment::OnTestStart(const ::testing::TestInfo &)
{
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/zarvo-test-XXXXXX"));
    pointEnvironmentAt(m_dir->path());
    Platform::Clock::reset();
}

void TestEnvironment::OnTestEnd(const ::testing::TestInfo &)
{
    Platform::Clock::reset();
    Platform::Settings::setFilePathOverride(QString());
    rootPath().clear();
    m_dir.reset();
}
