#include "WizardNavigation.h"

#include <cstddef>

namespace WizardNavigation {

bool BackEnabled(int current)
{
    return current != 0;
}

bool NextEnabled(int count, int current)
{
    return count > 0 && current != count - 1;
}

int NextShown(const std::vector<bool> &hidden, int current)
{
    for (int i = current + 1; i < int(hidden.size()); ++i) {
        if (i >= 0 && !hidden[std::size_t(i)])
            return i;
    }
    return -1;
}

int PreviousShown(const std::vector<bool> &hidden, int current)
{
    for (int i = current - 1; i >= 0; --i) {
        if (i < int(hidden.size()) && !hidden[std::size_t(i)])
            return i;
    }
    return -1;
}

} // namespace WizardNavigation
