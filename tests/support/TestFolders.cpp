#include "TestFolders.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
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
    // Whole or not at all, as the program's own files are written.
    QSaveFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    EXPECT_EQ(f.write(data), data.size()) << path.toStdString();
    EXPECT_TRUE(f.commit()) << path.toStdString();
    return path;
}

QByteArray TestFolders::readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
