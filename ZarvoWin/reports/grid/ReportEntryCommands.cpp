#include "ReportEntryCommands.h"

#include "CBdD.h"
#include "ChangedMeanwhile.h"
#include "CDlgModifTasks.h"
#include "CDlgTask.h"
#include "CReportModel.h"
#include "EntryList.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "tReportEntry.h"
#include "tTacheFull.h"

#include <QDialog>

#include <map>
#include <vector>

namespace ReportEntryCommands {

namespace {

int ask(QWidget *owner, quint32 type, const QString &text, int captionId)
{
    return RichMessageBox(type, owner, text, Platform::Texts::get(captionId));
}

bool yes(int answer)
{
    return answer != MessageBoxAnswer::Failed && (answer & 0xFFFF) == MessageBoxAnswer::Yes;
}

// The checked entries' ids "(1,5)", or empty after telling that none is.
QString checkedIds(QWidget *owner, const CReportModel &model)
{
    const QString ids = model.GetCheckedEntryIds(true);
    if (CountIds(ids) == 0) {
        ask(owner, MessageBoxType::Ok | MessageBoxType::IconExclamation, Platform::Texts::get(566), 173);
        return QString();
    }
    return ids;
}

// How many: the plural text with the count, or the text for one.
QString countedText(int count, int plural, int one)
{
    if (count > 1)
        return Platform::Formatter::sprintf(Platform::Texts::get(plural), {count});
    return Platform::Texts::get(one);
}

bool written(QWidget *owner, bool ok)
{
    if (!ok)
        ask(owner, MessageBoxType::Ok | MessageBoxType::IconExclamation, Platform::Texts::get(226), 173);
    return ok;
}

} // namespace

int CountIds(const QString &list)
{
    QStringView ids(list);
    if (ids.startsWith(u'('))
        ids = ids.mid(1);
    if (ids.endsWith(u')'))
        ids.chop(1);
    int count = 0;
    for (QStringView id : ids.split(u','))
        count += id.trimmed().isEmpty() ? 0 : 1;
    return count;
}

bool Bill(QWidget *owner, const CReportModel &model, CBdD &db)
{
    if (checkedIds(owner, model).isEmpty())
        return false;
    if (!yes(ask(owner, MessageBoxType::YesNo | MessageBoxType::IconQuestion, Platform::Texts::get(425), 166)))
        return false;
    QString billing;
    QString unbilling;
    model.GetBillingLists(billing, unbilling);
    // Only what the user ticked changes: an invoiced entry left unticked
    // stays invoiced.
    if (billing.isEmpty())
        return true;
    return written(owner, db.SetEntriesInvoiced(1, billing));
}

bool DeleteChecked(QWidget *owner, const CReportModel &model, CBdD &db)
{
    const QString ids = checkedIds(owner, model);
    if (ids.isEmpty())
        return false;
    if (!yes(ask(owner, MessageBoxType::YesNo | MessageBoxType::IconQuestion, countedText(CountIds(ids), 562, 564),
                 166)))
        return false;
    return written(owner, db.DeleteTimeEntries(ids));
}

bool ChangeChecked(QWidget *owner, const CReportModel &model, CBdD &db)
{
    const QString ids = checkedIds(owner, model);
    if (ids.isEmpty())
        return false;
    // The entries as they are while the user chooses: another program or
    // window may change them meanwhile.
    const std::vector<int> list = EntryList::Parse(ids).value_or(std::vector<int>());
    std::map<int, tEntryStamp> before;
    const bool stamped = db.GetTimeEntryStamps(list, before);
    CDlgModifTasks dialog(owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (!yes(ask(owner, MessageBoxType::YesNo | MessageBoxType::IconQuestion, countedText(CountIds(ids), 563, 565),
                 166)))
        return false;
    std::map<int, tEntryStamp> now;
    if (!stamped || !db.GetTimeEntryStamps(list, now))
        return written(owner, db.ReassignTimeEntries(dialog.ProjectId(), dialog.ActivityId(), dialog.RateId(), ids));
    // An entry deleted meanwhile stays deleted; one whose records changed
    // is changed again only when the user says so.
    std::vector<int> unchanged;
    std::vector<int> changed;
    for (int id : list) {
        if (!now[id].live)
            continue;
        (now[id].SameRecords(before[id]) ? unchanged : changed).push_back(id);
    }
    if (!changed.empty()) {
        const QString text =
            Platform::Formatter::sprintf(Platform::Texts::get(TextChangedMeanwhile), {int(changed.size())});
        switch (ChangedMeanwhile::Ask(owner, text, TextChangedButtons)) {
        case ChangedMeanwhile::Choice::KeepMine:
            unchanged.insert(unchanged.end(), changed.begin(), changed.end());
            break;
        case ChangedMeanwhile::Choice::KeepStored: break;
        case ChangedMeanwhile::Choice::Back: return false;
        }
    }
    if (unchanged.empty())
        return false;
    return written(owner, db.ReassignTimeEntries(dialog.ProjectId(), dialog.ActivityId(), dialog.RateId(),
                                                 EntryList::ToSql(unchanged)));
}

bool EditEntry(QWidget *owner, const tReportEntry &entry, CBdD &db)
{
    tTacheFull stored;
    bool failed = false;
    if (!db.GetTimeEntry(stored, entry.Id, &failed))
        return !failed;
    CDlgTask dialog(&stored, owner);
    return dialog.exec() == QDialog::Accepted;
}

QDate EntryDate(const tReportEntry &entry)
{
    return Platform::LocalTime::toLocal(entry.Debut).date();
}

} // namespace ReportEntryCommands
