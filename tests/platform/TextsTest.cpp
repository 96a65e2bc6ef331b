#include "Texts.h"

#include <gtest/gtest.h>

using Platform::Texts;

TEST(Texts, ProviderFirstThenTheCompiledInFrench)
{
    EXPECT_EQ(Texts::get(174), QStringLiteral("Veuillez saisir un nom"));
    Texts::setProvider([](int id) {
        if (id == 174)
            return QStringLiteral("Please enter a name");
        if (id == 501)
            return QStringLiteral(""); // found empty
        return QString();
    });
    EXPECT_EQ(Texts::get(174), QStringLiteral("Please enter a name"));
    EXPECT_EQ(Texts::get(502), QStringLiteral("<Activité non définie>"));
    EXPECT_TRUE(Texts::get(501).isEmpty());
    Texts::setProvider(nullptr);
    EXPECT_EQ(Texts::get(174), QStringLiteral("Veuillez saisir un nom"));
}

TEST(Texts, LineBreaksOfTheCompiledInTextsAndUnknownNumbers)
{
    const QString text = Texts::get(618);
    EXPECT_TRUE(text.contains(QStringLiteral("données.\nVeuillez"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("\\n")));
    EXPECT_TRUE(Texts::get(19999).isEmpty());
    EXPECT_FALSE(Texts::get(19999).isNull());
    EXPECT_TRUE(Texts::builtIn(19999).isNull());
}
