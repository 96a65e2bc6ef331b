#pragma once
#include <QString>
#include <utility>
#include <vector>

class QFontMetrics;

// The window-free rules of the column list (CListCtrlCol): row height and
// narrowest column, the zones of the alignment images, the cut of a cell's
// text, and the moves and swaps of rows as index rules on a plain vector.
class ListCtrlColRules
{
public:
    static constexpr int RowHeight = 18;
    static constexpr int MinimumColumnWidth = 80;
    // Room left of column 0's text for the check image.
    static constexpr int CheckAreaWidth = 20;
    static constexpr int ImageSize = 16;

    // What a click on an alignment image chooses.
    enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCentre = 2, NoAlignment = -1 };

    // The x of each alignment image in a cell [left, right).
    static int LeftImageX(int left) { return left + 6; }
    static int CentreImageX(int left, int right) { return left + (right - left) / 2 - 8; }
    static int RightImageX(int right) { return right - 22; }
    // The image under x in the cell [left, right): left from left + 6 to
    // left + 22, right from right - 22 to right - 6, centre 8 pixels either
    // side of the middle; NoAlignment elsewhere.
    static Alignment AlignmentAt(int x, int left, int right);
    // The cell text that marks each alignment: "L", "R" or "C".
    static QString AlignmentText(Alignment alignment);

    // A cell's text cut to `width`: a text at least as wide as the space
    // loses characters at its end until "..." and what is kept are
    // narrower than the space (or one character is left), then gets
    // "...". Unlike EllipsizeText, a text exactly as wide as the space is
    // cut too, so a cell's text never touches its neighbour.
    static QString CutText(const QFontMetrics &metrics, const QString &text, int width);

    // Where row `source` lands when moved just before (before set) or just
    // after `target` among `count` rows; -1 when either is out of range,
    // they are equal, or the order would not change (source just after
    // target and after, or target just after source and before).
    static int MoveDestination(int count, int target, bool before, int source);

    // The same moves and swaps on a vector of rows.
    template <typename T>
    static bool MoveItem(std::vector<T> &rows, int target, bool before, int source)
    {
        const int to = MoveDestination(int(rows.size()), target, before, source);
        if (to < 0)
            return false;
        T moved = std::move(rows[size_t(source)]);
        rows.erase(rows.begin() + source);
        rows.insert(rows.begin() + to, std::move(moved));
        return true;
    }
    template <typename T>
    static bool SwapItems(std::vector<T> &rows, int a, int b)
    {
        if (!CanSwap(int(rows.size()), a, b))
            return false;
        std::swap(rows[size_t(a)], rows[size_t(b)]);
        return true;
    }
    static bool CanSwap(int count, int a, int b);
};
