#pragma once
#include <QString>

// The tray's start with the session: an XDG autostart entry
// "$XDG_CONFIG_HOME/autostart/ZarvoTray.desktop" whose Exec line starts
// this program. It is written or removed only when the user asks (the
// options dialog), never at start. The entry counts as on only when it is
// enabled and its Exec names this very program, written as Set writes it:
// an entry without quotes or for another program is off.
class TrayAutostart
{
public:
    // The entry's file.
    static QString EntryPath();
    // The Exec value that starts `program` (a full path): the path between
    // double quotes, escaped by the desktop-entry rules (inside the quotes
    // '"', '`', '$' and '\' get a backslash, '%' is doubled, then every
    // backslash is doubled once more for the string value). Empty for a
    // path no Exec line can hold (a line break or another control
    // character).
    static QString ExecValue(const QString &program);

    // Whether the entry starts `program` with the session.
    static bool IsOn(const QString &program);
    // Writes the entry for `program` (on) or removes it (off). False when
    // the file could not be written or removed, or the path cannot be
    // written as an Exec value; the previous entry is then left whole.
    static bool Set(bool on, const QString &program);
};
