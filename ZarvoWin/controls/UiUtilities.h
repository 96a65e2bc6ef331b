#pragma once
#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <initializer_list>

class QFontMetrics;
class QPoint;
class QHBoxLayout;
class QWidget;

// Small utilities shared by the windows and the data store.

// A light colour (0x00BBGGRR) for a new project, activity or user, derived
// from the tick count so that consecutive items differ.
quint32 GetRandomLightColor();

// A file-dialog filter written as "Name|*.a;*.b|Other|*.*||" in Qt's form
// "Name (*.a *.b);;Other (*)"; "*.*" matches every file.
QString ConvertFileFilter(const QString &filter);

// A row of a dialog's buttons pushed to its right end, in the order given.
QHBoxLayout *ButtonRow(std::initializer_list<QWidget *> buttons);

// The first control inside `page` that takes the focus by tabbing (enabled,
// shown within the page); null when none does. The frames of pages give it
// the focus when they show a page.
QWidget *FirstFocusable(QWidget *page);

// Black (0) text on a light background, white (0xFFFFFF) on a dark one.
quint32 GetContrastTextColor(quint32 background);

// Whether two moments fall on the same local calendar day.
bool IsSameDayDateTime(const QDateTime &moment, qint64 unixSeconds);
bool IsSameDay(qint64 first, qint64 second);
// Whether the moment falls on the current local day (the program's clock).
bool IsToday(const QDateTime &moment);

// The text cut with "..." to fit `width` pixels in the font: the start is
// kept when keepStart is set (the end is cut), else the end is kept. A
// fitting text comes back unchanged; when not even one character fits
// with the ellipsis, "..." alone (which may still be too wide). Whole
// characters are dropped, never half of a surrogate pair.
QString EllipsizeText(const QFontMetrics &metrics, const QString &text, int width, bool keepStart);

// Removes a user's files below `usersRoot`, the folder the user folders
// live in. Refused (false) for an empty path, the root itself, anything
// outside it, or a folder reached through a link. A folder that does not
// exist counts as done. With databaseOnly, only the folder's database
// "Zarvo.sdb", then its journal "Zarvo.sdb-journal" (SQLite would roll a
// stale one into the next database of that name) and its report
// definitions "Zarvo.rpt"; otherwise the whole folder goes to the desktop
// trash, so that a mistake can be undone: it is never deleted for good.
bool DeleteUserFiles(const QString &usersRoot, const QString &folder, bool databaseOnly);

// The move to the trash DeleteUserFiles makes: true when the file or folder
// moved, with the place it went to in `placed`, as QFile::moveToTrash
// gives them. Tests replace it; an empty one restores Qt's.
using TrashMover = std::function<bool(const QString &path, QString *placed)>;
void SetTrashMover(TrashMover mover);

// Moves everything inside `source` into `target` (see FolderMove): refused
// for equal, nested or root folders; everything is copied and checked
// before any original is removed, and a failed copy removes its copies.
bool MoveFolderContents(const QString &source, const QString &target);

// The window's placement, kept as the value "Position" of the section
// `key` under the settings base "Dialog". Restoring never makes the window
// smaller than it is now (or than it would be shown).
void SaveWindowPosition(const QWidget *window, const QString &key);
void RestoreWindowPosition(QWidget *window, const QString &key);

// Handles every event waiting on the interface thread (start-up uses it
// so that the splash screen paints).
void PumpMessages();

// Image index of a project state (project type 0..5); -1 for no image.
int GetProjectStateImage(int state);
// Image index of a report row kind; -1 for no image.
int GetReportRowImage(int kind);

// Whether the point lies in the box of `width` x `height` pixels whose top
// left is (x, y), its right and bottom edges excluded (the tree grids'
// +/- boxes).
bool IsPointInBox(int x, int y, int width, int height, const QPoint &point);
