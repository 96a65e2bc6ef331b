#include "tProjectTreeState.h"

#include "IntParse.h"

#include <QStringList>
#include <limits>

int TreeStateText::FieldOr(QStringView field, int fallback)
{
    qsizetype i = 0;
    while (i < field.size() && field[i].isSpace())
        ++i;
    if (i < field.size() && (field[i] == u'-' || field[i] == u'+'))
        ++i;
    if (i >= field.size() || !field[i].isDigit())
        return fallback;
    return Platform::wtoi(field);
}

tProjectTreeState tProjectTreeState::Read(const QString &root, const QString &pos, const QString &collapsed)
{
    tProjectTreeState state;
    const QList<QStringView> flags = QStringView(root).split(u';');
    bool *expanded[] = {&state.projectsExpanded, &state.activitiesExpanded, &state.ratesExpanded};
    for (qsizetype i = 0; i < 3 && i < flags.size(); ++i)
        *expanded[i] = !flags[i].trimmed().startsWith(u'0');
    if (!pos.isEmpty()) {
        const QList<QStringView> fields = QStringView(pos).split(u';');
        int *values[] = {&state.firstVisibleKind, &state.firstVisibleData, &state.firstVisibleThird,
                         &state.selectedKind,     &state.selectedData,     &state.selectedIndex};
        for (qsizetype i = 0; i < 6 && i < fields.size(); ++i)
            *values[i] = TreeStateText::FieldOr(fields[i], *values[i]);
    }
    state.collapsedProjects = collapsed;
    return state;
}

QString tProjectTreeState::RootText() const
{
    return QStringLiteral("%1;%2;%3").arg(int(projectsExpanded)).arg(int(activitiesExpanded)).arg(int(ratesExpanded));
}

QString tProjectTreeState::PosText() const
{
    return QStringLiteral("%1;%2;%3;%4;%5;%6")
        .arg(firstVisibleKind)
        .arg(firstVisibleData)
        .arg(0)
        .arg(selectedKind)
        .arg(selectedData)
        .arg(selectedIndex);
}

QString tProjectTreeState::CollapsedKeys() const
{
    QString keys;
    for (QStringView id : QStringView(collapsedProjects).split(u',', Qt::SkipEmptyParts)) {
        const int value = TreeStateText::FieldOr(id, std::numeric_limits<int>::min());
        if (value != std::numeric_limits<int>::min())
            keys += u';' + QString::number(value);
    }
    return keys.isEmpty() ? keys : keys + u';';
}
