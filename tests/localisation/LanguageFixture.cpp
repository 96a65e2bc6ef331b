#include "LanguageFixture.h"

#include "CmyDataBase.h"
#include "Formatter.h"
#include "QuoteSql.h"
#include "TestFolders.h"

#include <QDir>

using Platform::Formatter;

QString LanguageFixture::programFolder()
{
    const QString folder = TestFolders::file(QStringLiteral("program")) + u'/';
    QDir().mkpath(folder);
    return folder;
}

QString LanguageFixture::write(const QString &folder, const QString &abbr, const QString &program) const
{
    QDir().mkpath(folder + abbr);
    const QString path = folder + abbr + u'/' + program + abbr + QStringLiteral(".sdb");
    QFile::remove(path);
    SQLite::CmyDataBase db;
    db.Open(path);
    db.Execute(u"create table StringTable(Id integer primary key, String text)");
    db.Execute(u"create table Menu(IdMenu integer, Id integer, String text)");
    db.Execute(u"create table Dialog(IdDialog integer, Id integer, String text)");
    db.Execute(u"create table Infos(Name text, Value text)");
    if (langId != 0)
        db.Execute(Formatter::sprintf(u"insert into Infos values('LangId', '%d')", {langId}));
    for (const auto &[name, value] : infos)
        db.Execute(Formatter::sprintf(u"insert into Infos values('%s', '%s')", {QuoteSql(name), QuoteSql(value)}));
    for (const auto &[id, text] : strings)
        db.Execute(Formatter::sprintf(u"insert into StringTable values(%d, '%s')", {id, QuoteSql(text)}));
    for (const auto &[menu, id, text] : menus)
        db.Execute(Formatter::sprintf(u"insert into Menu values(%d, %d, '%s')", {menu, id, QuoteSql(text)}));
    for (const auto &[dialog, id, text] : dialogs)
        db.Execute(Formatter::sprintf(u"insert into Dialog values(%d, %d, '%s')", {dialog, id, QuoteSql(text)}));
    db.Close();
    return path;
}
