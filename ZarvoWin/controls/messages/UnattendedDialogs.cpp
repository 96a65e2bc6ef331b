#include "UnattendedDialogs.h"

namespace {
UnattendedDialogs::Reporter &reporter()
{
    static UnattendedDialogs::Reporter r;
    return r;
}
} // namespace

UnattendedDialogs::Reporter UnattendedDialogs::SetReporter(Reporter r)
{
    Reporter previous = std::move(reporter());
    reporter() = std::move(r);
    return previous;
}

bool UnattendedDialogs::IsUnattended()
{
    return bool(reporter());
}

bool UnattendedDialogs::Report(const QString &what)
{
    if (!reporter())
        return false;
    // A copy: the reporter may replace itself.
    const Reporter report = reporter();
    report(what);
    return true;
}
