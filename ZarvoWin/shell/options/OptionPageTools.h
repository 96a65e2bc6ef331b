#pragma once
#include "UiUtilities.h"
#include "Texts.h"

namespace Platform { class Settings; }

#include <QList>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <functional>

class COptionsContext;
class FolderMovePlan;
class QComboBox;

// Small helpers shared by the option pages.
namespace OptionPageTools {

// Gives a control its dialog control id (its "controlId" property and its
// object name, by which tests find it).
template<typename W>
W *Numbered(W *widget, int id)
{
    widget->setProperty("controlId", id);
    widget->setObjectName(QString::number(id));
    return widget;
}

// Refills a combo box with texts by number, each entry's item data its
// value (the entry's index when `values` is empty), without telling its
// listeners, and selects the entry whose data is `selected` (none when no
// entry has it).
void FillTextCombo(QComboBox *combo, const QList<Platform::TextId> &texts, const QList<int> &values,
                   int selected);
// Fills a combo box with the given entries and item data, silently, and
// selects the entry whose data is `selected`.
void FillCombo(QComboBox *combo, const QStringList &entries, const QList<int> &values, int selected);

// The file-dialog filters of the controls (UiUtilities).
using ::ConvertFileFilter;

// A folder as the settings keep it: absolute, cleaned, ending with "/".
// Empty for an empty text.
QString FolderWithSlash(const QString &folder);

// A message box of an option page, with the application's caption.
int ShowPageMessage(QWidget *owner, quint32 type, const QString &text);

// --- Folders that move with their setting -------------------------------

// Asks whether the files of the old folder go to the new one (text 176):
// 6 Yes, 7 No, 2 Cancel.
int AskToMoveFiles(QWidget *owner, const QString &from, const QString &to);
// Tells that files could not be copied from one place to the other (177).
void ShowCopyError(QWidget *owner, const QString &from, const QString &to);
// A folder typed or picked: refused with text 172 when empty or not
// absolute; a missing one is made as `missing` says (text 399 when it
// cannot be), or refused with `missingText`. True when it exists now.
enum class MissingFolder {
    Refuse,
    Make,
    // Made for its owner alone: it holds the users' databases.
    MakePrivate,
};
bool AcceptFolder(QWidget *owner, const QString &folder, MissingFolder missing, int missingText = 0);
// Whether the moves can run (the folders not nested nor the root, no name
// taken in the new place); text 177 names what stands in the way.
bool CheckMoves(QWidget *owner, const FolderMovePlan &plan);
// Copies the files where the user sees it; a failure tells it (177), a
// cancel says nothing. True when everything was copied.
bool CopyMoves(QWidget *owner, const COptionsContext &context, FolderMovePlan &plan);
// After the settings were written: with `switched` the originals go (a
// warning names the old folder when some file stayed there); without it
// the copies go and 177 tells that the files did not move.
void FinishMoves(QWidget *owner, FolderMovePlan &plan, bool switched);
// Writes folder values of the section "Rep"/... through `write` and tells
// whether they were stored for good; false (the stored values put back)
// when the settings could not be written.
bool WriteSettingsChecked(const std::function<void(Platform::Settings &)> &write,
                          const std::function<void(Platform::Settings &)> &restore);

} // namespace OptionPageTools
