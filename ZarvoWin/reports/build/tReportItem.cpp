#include "tReportItem.h"

void tReportItem::SetTextLine(const QString &text, const QStringList &texts)
{
    m_payload = tReportTextLine{text, texts};
}

void tReportItem::SetGroupLine(const tReportGroupLine &group)
{
    m_payload = group;
}

void tReportItem::SetEntry(const tReportEntry &entry)
{
    m_payload = entry;
}

void tReportItem::SetTotalLine(const QString &title, int count)
{
    tReportTotalLine total;
    total.Title = title;
    total.Sums.assign(size_t(count > 0 ? count : 0), 0);
    m_payload = std::move(total);
}

void tReportItem::SetPair(int projectId, int activityId)
{
    m_payload = tReportPair{projectId, activityId};
}

void tReportItem::Free()
{
    m_payload = std::monostate();
}

int tReportItem::AddToTotal(int index, qint64 value)
{
    if (index < 1)
        return index;
    if (tReportTotalLine *total = TotalLineOf()) {
        if (size_t(index - 1) < total->Sums.size())
            total->Sums[size_t(index - 1)] += value;
    }
    return index - 1;
}
