#pragma once
#include "tReportEntry.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <variant>
#include <vector>

// The payloads a line of a report may carry, one per kind of line.

// Kind 1: a line of plain texts, the first column's and the others'.
struct tReportTextLine
{
    QString Text;
    QStringList Texts;
};

// Kind 2: a group line of a grouped report (the total line too): its key
// text, the sums of its entries, and which grouping level it stands for
// (level kind 0 year .. 4 activity; key id the project or activity id of
// levels 3 and 4, else -1; level index 0 for the first level).
struct tReportGroupLine
{
    QString Title;
    qint64 Duree = 0;  // seconds
    double Cout = 0.0; // summed in double: many small amounts stay exact to the cent
    int LevelKind = -1;
    int KeyId = -1;
    int LevelIndex = 0;
};

// Kind 4: a group line of a cross table (the total line too): the same
// level fields and one duration sum per column after the first.
struct tReportTotalLine
{
    QString Title;
    int LevelKind = -1;
    int KeyId = -1;
    int LevelIndex = 0;
    std::vector<qint64> Sums;
};

// Kind 5: a project-tracking line: a project node (activity -2) or one of
// its activities.
struct tReportPair
{
    int IdProjet = -1;
    int IdActivite = -2;
};

// One line's item: a kind (0 empty, 1 to 5 as above, 3 an entry line) and
// the one payload it owns. Setting a payload replaces the previous one;
// copies copy the payload.
class tReportItem
{
public:
    enum Kind { Empty = 0, TextLine = 1, GroupLine = 2, EntryLine = 3, TotalLine = 4, Pair = 5 };

    int GetKind() const { return int(m_payload.index()); }

    void SetTextLine(const QString &text, const QStringList &texts);
    void SetGroupLine(const tReportGroupLine &group);
    void SetEntry(const tReportEntry &entry);
    // A total line titled `title` with `count` sums at 0 (level kind -1,
    // key id -1, level index 0).
    void SetTotalLine(const QString &title, int count);
    void SetPair(int projectId, int activityId);
    // Back to the empty kind, the payload freed.
    void Free();

    // Adds `value` to the sum of column `index` (the first value column is
    // 1, its sum the first) when the item is a total line that has it.
    // Returns index - 1, or `index` itself when it is below 1.
    int AddToTotal(int index, qint64 value);

    // The payload when the item is of that kind; null otherwise.
    const tReportTextLine *TextLineOf() const { return std::get_if<tReportTextLine>(&m_payload); }
    tReportTextLine *TextLineOf() { return std::get_if<tReportTextLine>(&m_payload); }
    const tReportGroupLine *GroupLineOf() const { return std::get_if<tReportGroupLine>(&m_payload); }
    tReportGroupLine *GroupLineOf() { return std::get_if<tReportGroupLine>(&m_payload); }
    const tReportEntry *EntryOf() const { return std::get_if<tReportEntry>(&m_payload); }
    tReportEntry *EntryOf() { return std::get_if<tReportEntry>(&m_payload); }
    const tReportTotalLine *TotalLineOf() const { return std::get_if<tReportTotalLine>(&m_payload); }
    tReportTotalLine *TotalLineOf() { return std::get_if<tReportTotalLine>(&m_payload); }
    const tReportPair *PairOf() const { return std::get_if<tReportPair>(&m_payload); }
    tReportPair *PairOf() { return std::get_if<tReportPair>(&m_payload); }

private:
    // The alternatives in the order of the kind codes.
    std::variant<std::monostate, tReportTextLine, tReportGroupLine, tReportEntry, tReportTotalLine, tReportPair>
        m_payload;
};
