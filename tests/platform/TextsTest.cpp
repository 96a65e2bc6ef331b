#include "Texts.h"

#include <gtest/gtest.h>

using Platform::Texts;

TEST(Texts, ProviderFirstThenTheFrenchFallback)
{
    EXPECT_EQ(Texts::get(173, QStringLiteral("Erreur")), QStringLiteral("Erreur"));
    Texts::setProvider([](int id) { return id == 173 ? QStringLiteral("Error") : QString(); });
    EXPECT_EQ(Texts::get(173, QStringLiteral("Erreur")), QStringLiteral("Error"));
    EXPECT_EQ(Texts::get(166, QStringLiteral("Confirmation")), QStringLiteral("Confirmation"));
    Texts::setProvider(nullptr);
    EXPECT_EQ(Texts::get(173, QStringLiteral("Erreur")), QStringLiteral("Erreur"));
}
