#pragma once
#include <QtGlobal>

// Where the remaining-budget gauge puts its colours, computed without a
// window. The bar shows a gradient from the start colour through the middle
// colour (at "mid" percent of the width) to the end colour, cut at the used
// share; beyond 100 % the gradient slides left and the end colour fills in
// from the right, until at 200 % the whole bar shows the end colour.
class BudgetGaugeLayout
{
public:
    enum Kind {
        Disabled, // background colour only
        NoData,   // white, no text
        Filled,
    };

    Kind kind = NoData;
    double ratio = 0;       // used share (1 = all of the plan)
    int split = 0;          // x where the middle colour sits
    int gradientSource = 0; // first x of the gradient shown at x = 0
    int gradientWidth = 0;  // pixels of gradient shown from x = 0
    // Pixels [gradientWidth, width) show the window colour (within the
    // plan) or the end colour (beyond it).
    bool restIsEndColour = false;

    // The ratio is `givenRatio` with `useGivenRatio`, else used / planned
    // when both are non-zero; otherwise, or when the ratio is not a finite
    // number, there is no data. `midPercent` is clamped to 0..100.
    static BudgetGaugeLayout Compute(int width, bool enabled, qint64 planned, qint64 used, double givenRatio,
                                     bool useGivenRatio, int midPercent);
};
