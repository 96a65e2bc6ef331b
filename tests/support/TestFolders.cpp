#include "TestFolders.h"

#include "TestEnvironment.h"

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
