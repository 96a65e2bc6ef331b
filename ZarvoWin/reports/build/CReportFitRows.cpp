#include "CReportFitRows.h"

#include "CReportCells.h"
#include "CReportModel.h"
#include "tReportSnapshot.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// The classes of kinds of column whose texts have one shape in entry rows,
// and two of the first column's own.
enum KindClass : int {
    NoClass = 0,
    DateClass,     // 0, 17, 18: by weekday and month
    ProjectClass,  // 1, 11, 12, 13: by project
    ActivityClass, // 2, 14: by activity
    RateClass,     // 6, 15, 16: by rate
    StartClass,    // 3: by hour
    EndClass,      // 4: by hour
    TitleClass,    // 9: by length
    NotesClass,    // 10: by length
    EntryClasses = NotesClass,
    // In the first column: a group row's name; the longest and the
    // costliest entry of a depth (whatever the column shows of them, the
    // depth indents it).
    NameClass,
    SecondsAtDepth,
    CostAtDepth,
};

// Keys of the texts made of parts: what the part is (a project, a day...)
// in the high bits, its value in the low ones.
enum KeySpace : qint64 { ProjectKey = 1, ActivityKey, RateKey, DayKey, HourKey, YearKey, MonthKey };

qint64 cents(double amount)
{
    return std::isfinite(amount) ? qint64(std::llround(amount * 100.0)) : 0;
}

} // namespace

int CReportFitRows::KindClass(int kind)
{
    switch (kind) {
    case 0:
    case 17:
    case 18:
        return DateClass;
    case 1:
    case 11:
    case 12:
    case 13:
        return ProjectClass;
    case 2:
    case 14:
        return ActivityClass;
    case 6:
    case 15:
    case 16:
        return RateClass;
    case 3:
        return StartClass;
    case 4:
        return EndClass;
    case 9:
        return TitleClass;
    case 10:
        return NotesClass;
    default:
        return NoClass;
    }
}

int CReportFitRows::ClassKind(int kindClass)
{
    static const int kinds[] = {-1, 0, 1, 2, 6, 3, 4, 9, 10};
    return kindClass >= 0 && kindClass <= EntryClasses ? kinds[kindClass] : -1;
}

void CReportFitRows::Clear()
{
    m_chosen.clear();
    m_recent.fill(tRecent());
    m_lastOfClass.fill(tRecent());
    m_walk = false;
    m_negative = false;
}

CReportFitRows::tPart CReportFitRows::Classify(int column, int kind, const CTreeItem &row,
                                               const tReportSnapshot &snapshot, LocalDayCache &days) const
{
    const auto key = [](qint64 space, qint64 value, qint64 score = 0) {
        return tPart{Part::Key, (space << 40) + (value & ((qint64(1) << 40) - 1)), score};
    };
    // A date's text is made of its weekday, its month and its day; of the
    // days of one weekday and month, the latest has the most digits.
    const auto day = [&](const QDate &date) {
        return date.isValid() ? key(DayKey, date.dayOfWeek() * 16 + date.month(), date.day()) : tPart{Part::Always};
    };
    const auto hour = [&](qint64 t) {
        const LocalDayCache::tDay d = days.Day(t);
        return key(HourKey, std::clamp<qint64>((t - d.Start) / 3600, 0, 24));
    };
    const auto length = [](const QString &text) {
        return tPart{Part::Length, std::min<qint64>(text.size(), CReportCells::MaxCellText + 3)};
    };
    // A group's name, by its level and key (a date key's digits as a
    // number: 20240304).
    const auto group = [&](int levelKind, int keyId) {
        const qint64 number = row.GroupKey().Key;
        switch (levelKind) {
        case 0:
            return key(YearKey, number);
        case 1:
            return key(MonthKey, number % 100);
        case 2:
            return day(QDate(int(number / 10000), int(number / 100 % 100), int(number % 100)));
        case 3:
            return key(ProjectKey, keyId);
        case 4:
            return key(ActivityKey, keyId);
        default:
            return tPart{Part::Always};
        }
    };

    const tReportItem &item = row.Item();
    switch (item.GetKind()) {
    case tReportItem::EntryLine: {
        const tReportEntry &e = *item.EntryOf();
        switch (kind) {
        case 0:
        case 17:
        case 18:
            return day(days.Day(e.Debut).Date);
        case 1:
        case 11:
        case 12:
        case 13:
            return key(ProjectKey, e.IdProjet);
        case 2:
        case 14:
            return key(ActivityKey, e.IdActivite);
        case 6:
        case 15:
        case 16:
            return key(RateKey, e.IdTauxHoraire);
        case 3:
            return hour(e.Debut);
        case 4:
            return e.Fin != 0 ? hour(e.Fin) : tPart{};
        case 5:
        case 19:
            return e.Fin != 0 ? tPart{Part::Largest, e.Seconds()} : tPart{};
        case 7:
        case 20:
            return e.Fin != 0 ? tPart{Part::Largest, cents(snapshot.LineCost(e))} : tPart{};
        case 9:
            return length(e.Title);
        case 10:
            return length(e.Notes);
        case 8:
            return {};
        default:
            return {Part::Always};
        }
    }
    case tReportItem::GroupLine: {
        const tReportGroupLine &g = *item.GroupLineOf();
        if (column == 0)
            return group(g.LevelKind, g.KeyId);
        switch (kind) {
        case 5:
        case 19:
            return {Part::Largest, g.Duree};
        case 7:
        case 20:
            return {Part::Largest, cents(g.Cout)};
        default:
            return {};
        }
    }
    case tReportItem::TotalLine: {
        const tReportTotalLine &t = *item.TotalLineOf();
        if (column == 0)
            return group(t.LevelKind, t.KeyId);
        const size_t slot = size_t(column - 1);
        if (slot >= t.Sums.size() || t.Sums[slot] == 0)
            return {};
        return {Part::Largest, t.Sums[slot]};
    }
    default:
        return {Part::Always};
    }
}

void CReportFitRows::Keep(const tKey &key, const CTreeItem *row, qint64 score)
{
    // Most rows repeat the key of the row before them in the class (the
    // entries of one day, of one rate, of one depth), else a key met
    // shortly before (the hours of the day, the projects of a day): two
    // small tables in front of the hash.
    tRecent &last = m_lastOfClass[size_t(key.kindClass) % m_lastOfClass.size()];
    if (last.used && last.key == key && score <= last.score)
        return;
    tRecent &recent = m_recent[qHash(key) % m_recent.size()];
    if (recent.used && recent.key == key && score <= recent.score)
        return;
    auto it = m_chosen.find(key);
    if (it == m_chosen.end())
        it = m_chosen.insert(key, {row, score});
    else if (score > it->score)
        *it = {row, score};
    recent = {key, it->score, true};
    last = recent;
}

void CReportFitRows::Add(const CTreeItem &row, const tReportSnapshot &snapshot, LocalDayCache &days)
{
    if (m_walk)
        return;
    const int rowKind = row.Item().GetKind();
    const int depth = row.Depth();
    if (const tReportEntry *e = row.Item().EntryOf()) {
        for (int kindClass = DateClass; kindClass <= EntryClasses; ++kindClass) {
            const tPart part = Classify(-1, ClassKind(kindClass), row, snapshot, days);
            if (part.part == Part::Key || part.part == Part::Length)
                Keep({depth, rowKind, kindClass, part.part, part.value}, &row, part.score);
        }
        if (e->Fin != 0) {
            const qint64 amount = cents(snapshot.LineCost(*e));
            // A total no longer bounds amounts of both signs.
            m_negative = m_negative || amount < 0;
            Keep({depth, rowKind, SecondsAtDepth, Part::Largest, 0}, &row, e->Seconds());
            Keep({depth, rowKind, CostAtDepth, Part::Largest, 0}, &row, amount);
        } else {
            Keep({depth, rowKind, SecondsAtDepth, Part::Largest, 0}, &row, 0);
        }
        return;
    }
    if (rowKind != tReportItem::GroupLine && rowKind != tReportItem::TotalLine)
        return;
    const tPart part = Classify(0, -1, row, snapshot, days);
    if (part.part == Part::Key)
        Keep({depth, rowKind, NameClass, part.part, part.value}, &row, part.score);
    else if (part.part == Part::Always)
        Keep({depth, rowKind, NameClass, Part::Always, qint64(quintptr(&row))}, &row, 0);
}

std::vector<std::vector<const CTreeItem *>> CReportFitRows::Rows(const CReportModel &model, int first, int last,
                                                                   bool walk) const
{
    first = std::max(first, 0);
    last = std::min(last, model.ColumnCount() - 1);
    if (first > last)
        return {};
    if (walk || m_walk || m_negative)
        return Walk(model, first, last);
    // The longest free texts of each depth and kind of row.
    const auto group = [](const tKey &k) {
        return (qint64(k.depth) << 40) + (qint64(k.rowKind) << 20) + qint64(k.kindClass);
    };
    QHash<qint64, std::vector<qint64>> longest;
    for (auto it = m_chosen.cbegin(); it != m_chosen.cend(); ++it) {
        if (it.key().part == Part::Length)
            longest[group(it.key())].push_back(it.key().value);
    }
    for (auto &lengths : longest) {
        std::sort(lengths.begin(), lengths.end(), std::greater<>());
        if (lengths.size() > size_t(LongestTexts))
            lengths.resize(size_t(LongestTexts));
    }
    std::vector<std::vector<const CTreeItem *>> result;
    for (int c = first; c <= last; ++c) {
        const int kind = model.Columns()[size_t(c)].Kind;
        const int kindClass = KindClass(kind);
        std::vector<const CTreeItem *> rows;
        // The total, which bounds every duration, amount and share.
        if (const CTreeItem *total = model.TotalRow())
            rows.push_back(total);
        for (auto it = m_chosen.cbegin(); it != m_chosen.cend(); ++it) {
            const tKey &k = it.key();
            bool wanted = k.kindClass == kindClass && kindClass != NoClass;
            if (c == 0) {
                wanted = wanted || k.kindClass == NameClass
                         || (k.kindClass == SecondsAtDepth && kind != 7 && kind != 20 && kindClass == NoClass)
                         || (k.kindClass == CostAtDepth && (kind == 7 || kind == 20));
            }
            if (!wanted)
                continue;
            if (k.part == Part::Length) {
                const std::vector<qint64> &lengths = longest[group(k)];
                if (std::find(lengths.begin(), lengths.end(), k.value) == lengths.end())
                    continue;
            }
            rows.push_back(it->row);
        }
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        result.push_back(std::move(rows));
    }
    return result;
}

std::vector<std::vector<const CTreeItem *>> CReportFitRows::Walk(const CReportModel &model, int first,
                                                                   int last) const
{
    // Each column chooses among the rows on its own, the way a build tells
    // them, but from every row there is, with the numbers too.
    std::vector<CReportFitRows> columns(size_t(last - first + 1));
    std::vector<std::vector<const CTreeItem *>> always(columns.size());
    const std::vector<CTreeItem *> &visible = model.Tree().VisibleRows();
    for (const CTreeItem *row : visible) {
        const int rowKind = row->Item().GetKind();
        for (int c = first; c <= last; ++c) {
            CReportFitRows &column = columns[size_t(c - first)];
            const tPart part = Classify(c, model.Columns()[size_t(c)].Kind, *row, model.Snapshot(), m_days);
            const int depth = c == 0 ? row->Depth() : 0;
            switch (part.part) {
            case Part::Empty:
                if (c == 0)
                    column.Keep({depth, rowKind, NoClass, Part::Empty, 0}, row, 0);
                break;
            case Part::Always:
                always[size_t(c - first)].push_back(row);
                break;
            case Part::Largest:
                column.Keep({depth, rowKind, NoClass, Part::Largest, 0}, row, part.value);
                column.Keep({depth, rowKind, NoClass, Part::Largest, 1}, row, -part.value);
                break;
            default:
                column.Keep({depth, rowKind, NoClass, part.part, part.value}, row, part.score);
                break;
            }
        }
    }
    std::vector<std::vector<const CTreeItem *>> result;
    for (size_t i = 0; i < columns.size(); ++i) {
        const CReportFitRows &column = columns[i];
        std::vector<const CTreeItem *> rows = always[i];
        QHash<std::pair<int, int>, std::vector<qint64>> longest;
        for (auto it = column.m_chosen.cbegin(); it != column.m_chosen.cend(); ++it) {
            if (it.key().part == Part::Length)
                longest[{it.key().depth, it.key().rowKind}].push_back(it.key().value);
        }
        for (auto &lengths : longest) {
            std::sort(lengths.begin(), lengths.end(), std::greater<>());
            if (lengths.size() > size_t(LongestTexts))
                lengths.resize(size_t(LongestTexts));
        }
        for (auto it = column.m_chosen.cbegin(); it != column.m_chosen.cend(); ++it) {
            const tKey &k = it.key();
            if (k.part == Part::Length) {
                const std::vector<qint64> &lengths = longest[{k.depth, k.rowKind}];
                if (std::find(lengths.begin(), lengths.end(), k.value) == lengths.end())
                    continue;
            }
            rows.push_back(it->row);
        }
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        result.push_back(std::move(rows));
    }
    return result;
}
