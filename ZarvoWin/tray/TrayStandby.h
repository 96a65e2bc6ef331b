#pragma once
#include "tTacheFull.h"

#include <QtGlobal>

namespace Platform { class Settings; }

// What the tray keeps across a standby: the entry it ended when the
// computer went to sleep or the session ended (the user, the entry, the
// moment), and what to do with it when the computer wakes or the tray
// starts again. A record is used once: reading it clears it.
class TrayStandby
{
public:
    // A pause shorter than this takes the entry up again as if nothing
    // happened.
    static constexpr qint64 ShortPause = 300;

    struct tRecord
    {
        int user = -1;
        int task = -1;
        qint64 time = 0;
        bool HoldsTask() const { return task != -1; }
    };
    enum class Action {
        Nothing,
        // Run the ended entry again (its end back to 0).
        Reopen,
        // Start a copy of the entry now.
        RestartCopy,
        ShowInfos,
        ShowWindow,
    };

    // Writes the record of an entry ended at `time`.
    static void Write(Platform::Settings &settings, int user, int task, qint64 time);
    // Reads the record: a "Time" that is missing or not exactly 8 bytes is
    // reset (to 8 zero bytes when it was there) and the record reads empty.
    // A sound record stays until it is cleared, once acted on.
    static tRecord Read(Platform::Settings &settings);
    static void Clear(Platform::Settings &settings, const tRecord &record);
    // The decision for a record, the current user, the newest entry and
    // "ActionOnRestart": nothing unless the record's user is the current
    // one and its entry is still the newest one, ended at the record's
    // moment.
    static Action Decide(const tRecord &record, int currentUser, const tTacheFull &lastTask, qint64 now,
                         int actionOnRestart);
};
