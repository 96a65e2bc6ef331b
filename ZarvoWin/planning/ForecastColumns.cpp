#include "ForecastColumns.h"

#include "ForecastGridLayout.h"
#include "ForecastSettings.h"
#include "IntParse.h"
#include "Texts.h"

#include <QList>
#include <algorithm>

namespace {

struct ColumnInfo
{
    Platform::TextId caption;
    Platform::TextId description; // 0: none
    int width;
    Qt::Alignment alignment;
};

const ColumnInfo &info(int id)
{
    static const ColumnInfo columns[ForecastColumns::Count] = {
        {183, 0, 180, Qt::AlignLeft},    {596, 576, 180, Qt::AlignHCenter},
        {184, 528, 80, Qt::AlignHCenter}, {540, 541, 80, Qt::AlignHCenter},
        {559, 560, 190, Qt::AlignRight}, {304, 529, 190, Qt::AlignRight},
        {597, 598, 80, Qt::AlignRight},  {526, 530, 190, Qt::AlignRight},
        {527, 531, 190, Qt::AlignRight}, {311, 532, 80, Qt::AlignRight},
        {538, 539, 80, Qt::AlignRight},  {512, 533, 80, Qt::AlignRight},
        {525, 537, 80, Qt::AlignRight},  {513, 534, 80, Qt::AlignHCenter},
        {515, 536, 80, Qt::AlignHCenter}, {514, 535, 80, Qt::AlignRight},
        {473, 488, 80, Qt::AlignLeft},
    };
    return columns[id];
}

} // namespace

QString ForecastColumns::Caption(bool caption, int id)
{
    if (!IsValidId(id))
        return QString();
    const ColumnInfo &c = info(id);
    const int text = caption ? c.caption : c.description;
    return text == 0 ? QString() : Platform::Texts::get(text);
}

int ForecastColumns::DefaultWidth(int id)
{
    return IsValidId(id) ? info(id).width : 80;
}

Qt::Alignment ForecastColumns::Alignment(int id)
{
    return IsValidId(id) ? info(id).alignment : Qt::AlignLeft;
}

std::vector<tColVisible> ForecastColumns::ParseItems(const QString &text)
{
    std::vector<tColVisible> columns;
    bool listed[Count] = {};
    const int end = int(text.lastIndexOf(u'|'));
    if (end < 0)
        return columns;
    const QStringView items = QStringView(text).left(end);
    for (QStringView item : items.split(u'|')) {
        const int id = item.size() >= 2 ? Platform::wtoi(item.mid(2)) : 0;
        if (id < 1 || id >= Count || listed[id])
            continue;
        listed[id] = true;
        columns.push_back({id, item.startsWith(u"1:")});
    }
    return columns;
}

std::vector<tColVisible> ForecastColumns::FromSetting(const QString &value)
{
    const QString trimmed = value.trimmed();
    std::vector<tColVisible> columns =
        ParseItems(trimmed.isEmpty() ? QString::fromUtf16(DefaultForecastGridLayout) : trimmed);
    if (int(columns.size()) < MinimumListed) {
        for (int id = 2; id < Count; ++id) {
            const bool listed = std::any_of(columns.begin(), columns.end(),
                                            [id](const tColVisible &c) { return c.id == id; });
            if (!listed)
                columns.push_back({id, false});
        }
    }
    return columns;
}

QString ForecastColumns::ToSetting(const std::vector<tColVisible> &columns)
{
    QString text;
    for (const tColVisible &c : columns)
        text += QStringLiteral("%1:%2|").arg(c.visible ? 1 : 0).arg(c.id);
    return text;
}

std::vector<int> ForecastColumns::Displayed(const std::vector<tColVisible> &columns)
{
    std::vector<int> ids{NameColumn};
    for (const tColVisible &c : columns)
        if (c.visible && c.id != NameColumn)
            ids.push_back(c.id);
    return ids;
}

bool ForecastColumns::Move(std::vector<tColVisible> &columns, int dragged, int target, bool after)
{
    if (dragged == NameColumn || target == NameColumn || dragged == target)
        return false;
    const auto byId = [&columns](int id) {
        return std::find_if(columns.begin(), columns.end(), [id](const tColVisible &c) { return c.id == id; });
    };
    auto from = byId(dragged);
    if (from == columns.end() || byId(target) == columns.end())
        return false;
    const std::vector<tColVisible> before = columns;
    const tColVisible moved = *from;
    columns.erase(from);
    auto to = byId(target);
    columns.insert(after ? to + 1 : to, moved);
    return columns != before;
}

int ForecastColumns::ReadWidth(int id)
{
    const int width = ForecastSettings::ReadInt(ForecastSettings::ColumnWidth(id), DefaultWidth(id));
    return width < 0 ? DefaultWidth(id) : width;
}

void ForecastColumns::WriteWidth(int id, int width)
{
    ForecastSettings::WriteInt(ForecastSettings::ColumnWidth(id), width);
}

QString ForecastColumns::ReadLayout()
{
    return ForecastSettings::ReadString(ForecastSettings::Columns);
}

void ForecastColumns::WriteLayout(const std::vector<tColVisible> &columns)
{
    ForecastSettings::WriteString(ForecastSettings::Columns, ToSetting(columns));
}
