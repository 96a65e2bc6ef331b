#include "BudgetGaugeLayout.h"

#include <cmath>

BudgetGaugeLayout BudgetGaugeLayout::Compute(int width, bool enabled, qint64 planned, qint64 used,
                                             double givenRatio, bool useGivenRatio, int midPercent)
{
    BudgetGaugeLayout layout;
    width = qMax(0, width);
    if (!enabled) {
        layout.kind = Disabled;
        return layout;
    }
    double r;
    if (useGivenRatio)
        r = givenRatio;
    else if (planned != 0 && used != 0)
        r = double(used) / double(planned);
    else
        return layout;
    if (!std::isfinite(r))
        return layout;

    layout.kind = Filled;
    layout.ratio = r;
    layout.split = int(qint64(width) * qBound(0, midPercent, 100) / 100);
    if (r <= 1) {
        // The used share, measured like the plan's width; a negative share
        // shows no gradient at all.
        const double used = std::trunc(width * qMax(0.0, r));
        layout.gradientWidth = int(used);
        layout.gradientSource = 0;
        layout.restIsEndColour = false;
    } else {
        const int shift = int(std::trunc(width * (qMin(r, 2.0) - 1)));
        layout.gradientSource = shift;
        layout.gradientWidth = width - shift;
        layout.restIsEndColour = true;
    }
    return layout;
}
