#pragma once
#include <QDate>
#include <QString>

class CBdD;
class CReportModel;
class QWidget;
struct tReportEntry;

// The commands of a report window on its entries: billing, deleting and
// changing the checked ones, editing the selected one. Each asks what the
// report view asks, writes through `db` and answers whether the report is
// to be refreshed: a write that fails is told (226) and refreshes nothing.
namespace ReportEntryCommands {

// The number of ids in a list "(1,5)" or ",1,5,".
int CountIds(const QString &list);

// Marks the checked entries not yet invoiced as invoiced; entries left
// unchecked keep their state. Nothing checked: 566.
bool Bill(QWidget *owner, const CReportModel &model, CBdD &db);
// Deletes the checked entries after 562 or 564.
bool DeleteChecked(QWidget *owner, const CReportModel &model, CBdD &db);
// The bulk-change dialog, then 563 or 565, then the new project, activity
// and rate of the checked entries. The database's change notice refreshes
// the report, so true here means only that the change was written.
// Entries deleted while the dialog was open are left out; when some had
// their project, activity or rate changed meanwhile, the user chooses
// whether they change too, or nothing is written.
constexpr int TextChangedMeanwhile = 25307;
constexpr int TextChangedButtons = 25308;
bool ChangeChecked(QWidget *owner, const CReportModel &model, CBdD &db);
// The entry dialog on the entry as stored now; true after OK, and when
// the entry has gone meanwhile (the report no longer shows the truth).
bool EditEntry(QWidget *owner, const tReportEntry &entry, CBdD &db);
// The local day the calendar shows for the entry.
QDate EntryDate(const tReportEntry &entry);

} // namespace ReportEntryCommands
