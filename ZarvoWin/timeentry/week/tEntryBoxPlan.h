#pragma once
#include <QString>
#include <QtGlobal>
#include <vector>

// How one entry box of the week and day view is to be drawn, worked out
// without a painter: its rectangle, colours, stripe, notes mark and the
// pieces of text of each line, already cut to the box's width. Right and
// bottom edges are exclusive; colours are 0x00BBGGRR.
struct tEntryBoxPlan
{
    static constexpr int StripeWidth = 10;
    static constexpr int NotesIconSize = 24;

    // A piece of the stripe at the box's left edge (left .. left +
    // StripeWidth), from row top to row bottom.
    struct tStripe
    {
        int top = 0;
        int bottom = 0;
        quint32 colour = 0;
    };
    // Text drawn single-line, vertically centred in its line, from `left`.
    struct tPiece
    {
        QString text;
        bool bold = false;
        int left = 0;
        int width = 0;
    };
    struct tLine
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        std::vector<tPiece> pieces;
    };

    // Nothing of the box is on screen: nothing else is filled in.
    bool visible = false;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    quint32 fill = 0;
    quint32 text = 0;  // text colour, readable on the fill
    quint32 frame = 0; // outline, the fill darkened
    std::vector<tStripe> stripes;

    int lineCount = 0; // lines of the line height the box has room for, at most 4
    int gap = 0;       // space above, between and below the lines
    bool notesIcon = false;
    int iconLeft = 0;
    int iconTop = 0;
    std::vector<tLine> lines; // empty when the box is too small for text
};
