#include "TestFolders.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

QString TestFolders::root()
{
    return TestEnvironment::currentRoot();
}

QString TestFolders::file(const QString &name)
{
    return root() + u'/' + name;
}

QString TestFolders::tempDb(const QString &name)
{
    return file(name);
}

QString TestFolders::writeFile(const QString &name, const QByteArray &data)
{
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    EXPECT_EQ(f.write(data), data.size()) << path.toStdString();
    return path;
}

QByteArray TestFolders::readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
