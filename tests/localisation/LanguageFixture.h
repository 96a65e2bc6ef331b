#pragma once
#include <QList>
#include <QString>

#include <tuple>
#include <utility>

// Writes small language databases of the form the build makes, for tests
// that choose languages and look texts up.
struct LanguageFixture
{
    int langId = 0;
    QList<std::pair<QString, QString>> infos;
    QList<std::pair<int, QString>> strings;
    QList<std::tuple<int, int, QString>> menus;
    QList<std::tuple<int, int, QString>> dialogs;

    // Writes "<folder>/<abbr>/<program><abbr>.sdb" (folders made as needed)
    // and returns its path.
    QString write(const QString &programFolder, const QString &abbr,
                  const QString &program = QStringLiteral("Zarvo")) const;
    // A file holding only its language id.
    static LanguageFixture Language(int id)
    {
        LanguageFixture f;
        f.langId = id;
        return f;
    }
    // A program folder of the running test, with a trailing '/'.
    static QString programFolder();
};
