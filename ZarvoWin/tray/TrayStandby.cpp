#include "TrayStandby.h"

#include "Settings.h"

#include <QByteArray>
#include <QtEndian>

namespace {

// The record's values (the moment's section is spelt as the tray always
// wrote it).
constexpr const char16_t *Base = u"Tray";
constexpr const char16_t *Section = u"StandBy";
constexpr const char16_t *TimeSection = u"Standby";

QByteArray timeBytes(qint64 time)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian<qint64>(time, bytes.data());
    return bytes;
}

void clear(Platform::Settings &settings, const TrayStandby::tRecord &record, bool resetTime)
{
    if (record.user != -1)
        settings.setInt(Base, Section, u"User", -1);
    if (record.task != -1)
        settings.setInt(Base, Section, u"Task", -1);
    if (resetTime)
        settings.setBinary(Base, TimeSection, u"Time", timeBytes(0));
}

} // namespace

void TrayStandby::Write(Platform::Settings &settings, int user, int task, qint64 time)
{
    settings.setInt(Base, Section, u"User", user);
    settings.setInt(Base, Section, u"Task", task);
    settings.setBinary(Base, TimeSection, u"Time", timeBytes(time));
    settings.sync();
}

TrayStandby::tRecord TrayStandby::Read(Platform::Settings &settings)
{
    tRecord record;
    record.user = settings.getInt(Base, Section, u"User", -1);
    record.task = settings.getInt(Base, Section, u"Task", -1);
    if (!settings.contains(Base, TimeSection, u"Time")) {
        clear(settings, record, false);
        return {};
    }
    const QByteArray time = settings.getBinary(Base, TimeSection, u"Time");
    if (time.size() != 8) {
        clear(settings, record, true);
        return {};
    }
    record.time = qFromLittleEndian<qint64>(time.constData());
    return record;
}

void TrayStandby::Clear(Platform::Settings &settings, const tRecord &record)
{
    if (!record.HoldsTask())
        return;
    clear(settings, record, true);
    settings.sync();
}

TrayStandby::Action TrayStandby::Decide(const tRecord &record, int currentUser, const tTacheFull &lastTask, qint64 now,
                                        int actionOnRestart)
{
    if (!record.HoldsTask() || record.user != currentUser || lastTask.Id != record.task)
        return Action::Nothing;
    // The record is written before its entry ends: an entry that still
    // runs (the program ended in between) or that ended at another moment
    // since is not the one the record speaks of.
    if (lastTask.IsRunning() || lastTask.Fin != record.time)
        return Action::Nothing;
    if (now - record.time < ShortPause)
        return Action::Reopen;
    switch (actionOnRestart) {
    case 1: return Action::RestartCopy;
    case 2: return Action::ShowInfos;
    case 3: return Action::ShowWindow;
    default: return Action::Nothing;
    }
}
