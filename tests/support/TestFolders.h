#pragma once
#include <QByteArray>
#include <QString>

// Each test runs with folders of its own: HOME, the XDG folders, the
// runtime folder and the settings file all point below a temporary folder
// that is removed when the test ends.
class TestFolders
{
public:
    // Root of the running test's folders.
    static QString root();
    // A path for a file of the running test (the file is not created).
    static QString file(const QString &name);
    // A database file path of the running test (not created).
    static QString tempDb(const QString &name = QStringLiteral("test.sdb"));
    // A file of the running test written with `data` (its folders made as
    // needed); its path.
    static QString writeFile(const QString &name, const QByteArray &data);
    // The bytes of a file anywhere; empty when it cannot be read.
    static QByteArray readFile(const QString &path);
};
