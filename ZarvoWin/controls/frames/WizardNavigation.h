#pragma once
#include <vector>

// Where Back and Next lead in a frame of pages, some of which may be left
// out of the walk (hidden), and when the two buttons are enabled. Shared by
// the frames that lead through pages so that they agree.
namespace WizardNavigation {

// Back is enabled on every page but the first.
bool BackEnabled(int current);
// Next is enabled while the list has a page after the current one.
bool NextEnabled(int count, int current);
// The first page after `current` that is not hidden; -1 when none.
int NextShown(const std::vector<bool> &hidden, int current);
// The first page before `current`, going down to 0, that is not hidden;
// -1 when none.
int PreviousShown(const std::vector<bool> &hidden, int current);

} // namespace WizardNavigation
