#include "tTacheFull.h"
#include "tTacheParams.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TimeEntryRecords, NewEntryHasNoIdsTimesOrTexts)
{
    const tTacheFull e;
    EXPECT_EQ(e.Id, -1);
    EXPECT_EQ(e.IdProjet, -1);
    EXPECT_EQ(e.IdActivite, -1);
    EXPECT_EQ(e.IdTauxHoraire, -1);
    EXPECT_EQ(e.Debut, 0);
    EXPECT_EQ(e.Fin, 0);
    EXPECT_EQ(e.Facture, 0);
    EXPECT_TRUE(e.Title.isEmpty());
    EXPECT_TRUE(e.Notes.isEmpty());

    const tTacheParams p;
    EXPECT_EQ(static_cast<const tTacheFull &>(p), e);
    EXPECT_EQ(p.firstSlot, 0);
    EXPECT_EQ(p.endSlot, 1);
    EXPECT_EQ(p.top, 0);
    EXPECT_EQ(p.bottom, 0);
    EXPECT_EQ(p.flag, 0);
}

TEST(TimeEntryRecords, ResetForgetsEveryField)
{
    tTacheParams p;
    p.Id = 101;
    p.Debut = 5'000'000'000LL; // beyond 32 bits
    p.Fin = 5'000'003'600LL;
    p.IdProjet = 32;
    p.IdActivite = 35;
    p.IdTauxHoraire = 2;
    p.Facture = 1;
    p.Title = QStringLiteral("Réunion");
    p.Notes = QStringLiteral("l'ordre du jour");
    p.top = 10;
    p.bottom = 40;
    p.firstSlot = 2;
    p.endSlot = 3;
    p.flag = 7;
    p.Reset();
    EXPECT_EQ(p, tTacheParams());

    tTacheFull f = p;
    f.Id = 5;
    f.Title = QStringLiteral("x");
    f.Reset();
    EXPECT_EQ(f, tTacheFull());
}

TEST(TimeEntryRecords, CopiesKeepDisplayFieldsAndFromRowTheyStartFresh)
{
    tTacheParams p;
    p.Id = 104;
    p.Debut = 5'000'000'000LL;
    p.Title = QStringLiteral("Titre");
    p.top = 12;
    p.bottom = 80;
    p.firstSlot = 1;
    p.endSlot = 2;
    p.flag = 1;

    const tTacheParams copy = p.Clone();
    EXPECT_EQ(copy, p);
    tTacheParams assigned;
    assigned.Assign(p);
    EXPECT_EQ(assigned, p);

    // Texts are values: changing the copy leaves the source alone.
    assigned.Title += QStringLiteral(" modifié");
    EXPECT_EQ(p.Title, QStringLiteral("Titre"));

    // A display entry made from a row takes the row and the display fields
    // of a new entry.
    const tTacheFull row = p;
    const tTacheParams fromRow(row);
    EXPECT_EQ(static_cast<const tTacheFull &>(fromRow), row);
    EXPECT_EQ(fromRow.top, 0);
    EXPECT_EQ(fromRow.endSlot, 1);
    EXPECT_EQ(fromRow.flag, 0);

    // Growable arrays build their new elements as new display entries.
    std::vector<tTacheParams> list(2);
    EXPECT_EQ(list[1].endSlot, 1);
    EXPECT_EQ(list[1].Id, -1);
}
