#include "CReportColumnSet.h"

#include "ReportColumnCatalogue.h"

#include <utility>

namespace {

// The first and last kind of a type's range; last < first for none.
std::pair<int, int> rangeOf(int type)
{
    switch (type) {
    case CReportColumnSet::TimeColumns:
        return {0, 20};
    case CReportColumnSet::TrackingColumns:
        return {21, 36};
    default:
        return {0, -1};
    }
}

} // namespace

CReportColumnSet::CReportColumnSet(bool all)
{
    if (!all) {
        FillDefault();
        return;
    }
    for (int kind = 0; kind < ReportColumnKindCount; ++kind) {
        tReportColumn column(kind, false);
        column.Caption = GetReportColumnCaptionOverride(kind);
        column.Align = GetReportColumnAlignOverride(kind);
        m_columns.push_back(column);
    }
}

int CReportColumnSet::TypeForReportKind(int reportKind)
{
    switch (reportKind) {
    case 3:
        return CrossTable;
    case 4:
        return TrackingColumns;
    default:
        return TimeColumns;
    }
}

bool CReportColumnSet::InRange(int type, int kind)
{
    const auto [first, last] = rangeOf(type);
    return kind >= first && kind <= last;
}

int CReportColumnSet::IndexOfKind(int kind) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_columns[size_t(i)].Kind == kind)
            return i;
    }
    return -1;
}

void CReportColumnSet::ApplyToCatalogue() const
{
    for (const tReportColumn &column : m_columns)
        SetReportColumnOverride(column.Kind, column.GetCaption(false), column.Align);
}

void CReportColumnSet::FillDefault()
{
    m_columns.clear();
    const auto [first, last] = rangeOf(m_type);
    for (int kind = first; kind <= last; ++kind)
        m_columns.emplace_back(kind, false);
}

void CReportColumnSet::AddMissingKinds()
{
    const auto [first, last] = rangeOf(m_type);
    for (int kind = first; kind <= last; ++kind) {
        if (IndexOfKind(kind) < 0)
            m_columns.emplace_back(kind, false);
    }
}

void CReportColumnSet::ShowKind(int kind)
{
    for (tReportColumn &column : m_columns) {
        if (column.Kind == kind && !column.Shown) {
            column.Shown = true;
            return;
        }
    }
}

int CReportColumnSet::CountShown() const
{
    int shown = 0;
    for (const tReportColumn &column : m_columns)
        shown += column.Shown ? 1 : 0;
    return shown;
}

const tReportColumn *CReportColumnSet::NextShown(int &position) const
{
    if (position < 0)
        position = 0;
    for (; position < Count(); ++position) {
        if (m_columns[size_t(position)].Shown)
            return &m_columns[size_t(position)];
    }
    return nullptr;
}

bool CReportColumnSet::Swap(int a, int b)
{
    if (a == b || a < 0 || b < 0 || a >= Count() || b >= Count())
        return false;
    std::swap(m_columns[size_t(a)], m_columns[size_t(b)]);
    m_default = false;
    return true;
}

bool CReportColumnSet::Move(int target, int source, bool before)
{
    if (target < 0 || source < 0 || target >= Count() || source >= Count() || target == source)
        return false;
    if ((!before && source == target + 1) || (before && source == target - 1))
        return false;
    const tReportColumn column = m_columns[size_t(source)];
    m_columns.erase(m_columns.begin() + source);
    if (source < target)
        --target;
    m_columns.insert(m_columns.begin() + (before ? target : target + 1), column);
    m_default = false;
    return true;
}

bool CReportColumnSet::Differs(const CReportColumnSet &other) const
{
    if (Count() != other.Count())
        return true;
    for (int i = 0; i < Count(); ++i) {
        const tReportColumn &a = m_columns[size_t(i)];
        const tReportColumn &b = other.m_columns[size_t(i)];
        if (a.Kind != b.Kind || a.Caption != b.Caption || a.Align != b.Align || a.Shown != b.Shown)
            return true;
    }
    return false;
}

QString CReportColumnSet::Format() const
{
    QString text;
    for (const tReportColumn &column : m_columns) {
        text += column.Format();
        text += u'|';
    }
    return text;
}

void CReportColumnSet::Parse(QStringView text)
{
    text = text.trimmed();
    m_default = false;
    if (text.isEmpty()) {
        FillDefault();
        return;
    }
    m_columns.clear();
    // Each column is closed by "|"; what follows the last one is dropped.
    for (qsizetype start = 0, end; (end = text.indexOf(u'|', start)) >= 0; start = end + 1) {
        tReportColumn column;
        if (column.Parse(text.mid(start, end - start), m_type) && IndexOfKind(column.Kind) < 0)
            m_columns.push_back(column);
    }
    AddMissingKinds();
}
