#pragma once
#include <QString>

#include <functional>

// A process where nobody answers modal windows (a test program) sets a
// reporter. A message box or a dialog with a next-answer seam that is then
// asked without a queued answer is not shown: it is reported, naming
// itself, and answers as when closed without a choice, so that the caller
// unwinds instead of waiting for a user who never comes. The programs set
// none, and their windows are shown as always.
class UnattendedDialogs
{
public:
    using Reporter = std::function<void(const QString &what)>;

    // Returns the reporter it replaces (an empty one ends the reporting).
    static Reporter SetReporter(Reporter reporter);
    static bool IsUnattended();
    // Reports `what`; false (nothing reported) when no reporter is set.
    static bool Report(const QString &what);
};
