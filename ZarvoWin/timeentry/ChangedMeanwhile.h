#pragma once
#include <QString>

class QWidget;

// The question a window asks before it writes back a record that the
// other program or another window changed since the window read it: the
// user keeps the stored record or their own, or goes back to the window.
// Nothing is ever written over in silence. Answered through the message
// boxes' seam in tests.
namespace ChangedMeanwhile {

enum class Choice { KeepStored, KeepMine, Back };

// `text` tells what changed, with the stored and the user's versions in
// view; `buttonsId` is the text of the three buttons: keep the stored one,
// keep mine, back (also Escape's and the window's Close). A box that cannot
// be shown goes back.
Choice Ask(QWidget *owner, const QString &text, int buttonsId);
// The record was deleted meanwhile: "Oui" stores the user's one again, "Non"
// leaves it deleted, "Annuler" goes back.
Choice AskDeleted(QWidget *owner, const QString &text);

} // namespace ChangedMeanwhile
