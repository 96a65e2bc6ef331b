#include "ReportSelectionList.h"

#include <QList>

#include <algorithm>

namespace ReportSelectionList {

namespace {

bool readInt(QStringView token, int &value)
{
    bool ok = false;
    value = token.trimmed().toInt(&ok);
    return ok;
}

bool isPairList(QStringView list)
{
    return list.trimmed().startsWith(u';') || (list.contains(u';') && !list.trimmed().startsWith(u'('));
}

} // namespace

std::vector<int> ParseIds(QStringView list)
{
    std::vector<int> ids;
    QStringView body = list.trimmed();
    if (body.startsWith(u'('))
        body = body.mid(1);
    if (body.endsWith(u')'))
        body.chop(1);
    for (QStringView token : body.split(u',')) {
        int value = 0;
        if (readInt(token, value))
            ids.push_back(value);
    }
    return ids;
}

std::vector<std::pair<int, int>> ParsePairs(QStringView list)
{
    std::vector<std::pair<int, int>> pairs;
    if (!isPairList(list)) {
        for (int id : ParseIds(list))
            pairs.emplace_back(id, -2);
        return pairs;
    }
    for (QStringView token : list.split(u';')) {
        const qsizetype comma = token.indexOf(u',');
        if (comma < 0)
            continue;
        int project = 0;
        int activity = 0;
        if (readInt(token.left(comma), project) && readInt(token.mid(comma + 1), activity))
            pairs.emplace_back(project, activity);
    }
    return pairs;
}

bool IsIdChecked(QStringView list, int id)
{
    if (list.trimmed().isEmpty())
        return true;
    // A pair list (a project-tracking report's) names its projects.
    if (isPairList(list)) {
        for (const auto &pair : ParsePairs(list)) {
            if (pair.first == id)
                return true;
        }
        return false;
    }
    const std::vector<int> ids = ParseIds(list);
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool IsPairChecked(QStringView list, int projectId, int activityId)
{
    if (list.trimmed().isEmpty())
        return true;
    const bool pairList = isPairList(list);
    for (const auto &[project, activity] : ParsePairs(list)) {
        if (project != projectId)
            continue;
        // A list of projects alone checks every row of a named project.
        if (!pairList || activity == activityId)
            return true;
    }
    return false;
}

bool IsUndefinedChecked(QStringView list)
{
    return list.trimmed().isEmpty() || IsIdChecked(list, -1);
}

QString WriteIds(const std::vector<int> &checked, bool allChecked)
{
    if (allChecked || checked.empty())
        return QString();
    QString out = QStringLiteral("(");
    for (size_t i = 0; i < checked.size(); ++i) {
        if (i > 0)
            out += u',';
        out += QString::number(checked[i]);
    }
    return out + u')';
}

QString WritePairs(const std::vector<std::pair<int, int>> &checked, bool allChecked)
{
    if (allChecked || checked.empty())
        return QString();
    QString out;
    for (const auto &[project, activity] : checked)
        out += u';' + QString::number(project) + u',' + QString::number(activity);
    return out + u';';
}

} // namespace ReportSelectionList
