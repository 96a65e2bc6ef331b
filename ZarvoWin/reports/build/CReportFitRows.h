#pragma once
#include "LocalDayCache.h"

#include <QHash>
#include <QtGlobal>

#include <array>
#include <vector>

class CReportModel;
class CTreeItem;
struct tReportSnapshot;

// The rows whose text in a list column can be the widest, so that fitting
// the columns of a report of a hundred thousand entries measures what it
// measures for a few hundred.
//
// Rows whose cell is made of the same parts have texts of one width, and
// one of them stands for all: the same project, activity or rate; a day of
// the same weekday and month (the latest day of the month of those); a
// time of the same hour; a group of the same level and key. Of free texts
// (titles, notes) those of the longest lengths stand. Durations, amounts
// and shares are never wider than the total's, which adds them all, as
// long as no amount is below zero. In the first column a row stands only
// for rows of its own depth, which indents its text.
//
// A build tells the rows it makes or keeps (Add), while they are at hand,
// so that the rows to measure are known without a walk over the tree
// afterwards; they stand for every row of the report, shown or folded. A
// project-tracking report (whose nodes follow the project tree, not the
// entries) and a report with amounts below zero are walked row by row.
class CReportFitRows
{
public:
    // Free texts of this many longest lengths are measured.
    static constexpr int LongestTexts = 8;

    // Forgets every row (a new build; an emptied tree).
    void Clear();
    // A row the build made or kept: an entry row or a group row (whose
    // name shows in the first column). `snapshot` gives the rates, `days`
    // the local days (the build's own table of them).
    void Add(const CTreeItem &row, const tReportSnapshot &snapshot, LocalDayCache &days);
    // The rows of this tree are not told: fitting walks them all.
    void WalkAll() { m_walk = true; }

    // For each list column of `model` from `first` to `last`, the rows to
    // measure, each once; with `walk`, found by a walk over the rows shown
    // (the rows told may have left the tree).
    std::vector<std::vector<const CTreeItem *>> Rows(const CReportModel &model, int first, int last,
                                                     bool walk) const;

private:
    // What the width of a cell's text depends on.
    enum class Part : quint8 {
        Empty,   // no text
        Always,  // measured whatever it holds
        Key,     // a text made of the same parts for the same key
        Largest, // a number: the largest and the smallest stand
        Length,  // a free text: the longest stand
    };
    struct tPart
    {
        Part part = Part::Empty;
        qint64 value = 0; // the key, the number or the length
        qint64 score = 0; // among rows of one key, the highest stands
    };
    // The rows a row may stand for.
    struct tKey
    {
        int depth = 0;
        int rowKind = 0;
        int kindClass = 0; // the kinds of column whose texts have one shape
        Part part = Part::Empty;
        qint64 value = 0;
        friend bool operator==(const tKey &, const tKey &) = default;
        friend size_t qHash(const tKey &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.depth, key.rowKind, key.kindClass, int(key.part), key.value);
        }
    };
    struct tChoice
    {
        const CTreeItem *row = nullptr;
        qint64 score = 0;
    };
    struct tRecent
    {
        tKey key;
        qint64 score = 0;
        bool used = false;
    };

    // The class of the kinds of column whose entry texts have one shape;
    // 0 for none (no text, or a number the total bounds).
    static int KindClass(int kind);
    // The kind of column that stands for a class.
    static int ClassKind(int kindClass);
    tPart Classify(int column, int kind, const CTreeItem &row, const tReportSnapshot &snapshot,
                   LocalDayCache &days) const;
    void Keep(const tKey &key, const CTreeItem *row, qint64 score);
    std::vector<std::vector<const CTreeItem *>> Walk(const CReportModel &model, int first, int last) const;

    QHash<tKey, tChoice> m_chosen;
    std::array<tRecent, 64> m_recent;
    std::array<tRecent, 16> m_lastOfClass;
    // The local days of a walk.
    mutable LocalDayCache m_days;
    bool m_walk = false;
    bool m_negative = false;
};
