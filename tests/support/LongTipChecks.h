#pragma once
// What a reader sees of a tip whose text is taller than its screen: an
// entry's tip with a long title and project name and many lines of notes.
#include "CMyToolTipCtrl.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

// The tip shown for a cursor at `cursor` (global) lies within `screen` and
// not over the cursor. Its bold lines hold `title` whole (wrapped where
// they must be, no line of it cut); the description's first lines
// `times` follow whole; then the notes from their first line `firstNote`
// on, cut at the bottom: the last line shown is a line of the notes ending
// with an ellipsis.
inline void ExpectNamesWholeAndNotesCut(const CMyToolTipCtrl &tip, const QPoint &cursor, const QRect &screen,
                                        const QString &title, const QStringList &times, const QString &firstNote)
{
    const auto squeezed = [](QString text) { return text.remove(u' ').remove(u'\n'); };
    constexpr QChar Ellipsis(0x2026);
    EXPECT_TRUE(tip.isVisible());
    EXPECT_TRUE(screen.contains(tip.geometry()));
    EXPECT_FALSE(tip.geometry().contains(cursor)) << "the tip lies over the cursor";
    EXPECT_TRUE(tip.IsCut());
    const std::vector<CMyToolTipCtrl::tLine> &lines = tip.Lines();
    QString bold;
    QStringList description;
    for (const CMyToolTipCtrl::tLine &line : lines) {
        if (line.bold) {
            EXPECT_FALSE(line.text.endsWith(Ellipsis)) << "a line of the title is cut: " << line.text.toStdString();
            bold += line.text;
        } else {
            description << line.text;
        }
    }
    EXPECT_EQ(squeezed(bold).toStdString(), squeezed(title).toStdString());
    ASSERT_GT(description.size(), times.size() + 2) << description.join(u'\n').toStdString();
    EXPECT_EQ(description.mid(0, times.size()), times);
    const qsizetype notes = description.indexOf(firstNote);
    EXPECT_EQ(notes, times.size() + 1) << "the notes from their first line on, after a blank line";
    ASSERT_FALSE(lines.empty());
    EXPECT_FALSE(lines.back().bold);
    EXPECT_TRUE(lines.back().text.endsWith(Ellipsis)) << lines.back().text.toStdString();
    // Every line before the last shown whole.
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [Ellipsis](const CMyToolTipCtrl::tLine &line) { return line.text.endsWith(Ellipsis); }),
              1);
    // Nothing drawn past the tip's bottom margin.
    EXPECT_LE(lines.back().rect.bottom(), tip.height() - 1 - CMyToolTipCtrl::Margin);
}
