#pragma once
// The names a user cannot be given as they were typed, each with the
// message that refuses it (the character at fault named), shared by the
// tests of the three places where a user is named: the first-run wizard,
// the new-user wizard and the user dialog.
#include "Formatter.h"
#include "Texts.h"

#include <QLineEdit>
#include <QString>
#include <QTest>

#include <vector>

struct RefusedUserName
{
    QString typed;
    QString message;
};

inline std::vector<RefusedUserName> RefusedUserNames()
{
    const auto character = [](const QString &shown) {
        return Platform::Formatter::sprintf(Platform::Texts::get(20300), {shown});
    };
    const QString leadingDot = Platform::Texts::get(20301);
    std::vector<RefusedUserName> names = {
        // It was turned into "MarieDupont" and "..Paul", a hidden folder.
        {QStringLiteral("Marie/Dupont"),
         QStringLiteral("Le nom de l'utilisateur ne peut pas contenir le caractère « / » : c'est aussi le nom "
                        "de son répertoire.")},
        {QStringLiteral("../Paul"), leadingDot},
        {QStringLiteral("."), leadingDot},
        {QStringLiteral(".."), leadingDot},
        {QStringLiteral(".cache"), leadingDot},
        {QStringLiteral("Tab\there"), character(QStringLiteral("U+0009"))},
        {QStringLiteral("Bell\x07"), character(QStringLiteral("U+0007"))},
    };
    for (const QChar c : QStringLiteral("\"*/:<>?\\|"))
        names.push_back({QStringLiteral("Anne ") + c + QStringLiteral(" B"), character(QString(c))});
    return names;
}

// Puts a name into a field as a user would: typed, or pasted when it holds
// a character no key types (a control character).
inline void EnterName(QLineEdit *field, const QString &name)
{
    field->clear();
    bool typable = true;
    for (const QChar c : name)
        typable = typable && c.isPrint();
    if (typable)
        QTest::keyClicks(field, name);
    else
        field->insert(name);
}

// Names that are kept as they were typed.
inline std::vector<QString> AcceptedUserNames()
{
    return {QStringLiteral("Zoé-Ève d'Arc"), QStringLiteral("J.-P. Martin"), QStringLiteral("Ünal 2")};
}
