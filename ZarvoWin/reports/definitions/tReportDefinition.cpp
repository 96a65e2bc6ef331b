#include "tReportDefinition.h"

#include "Clock.h"
#include "Formatter.h"
#include "LocalTime.h"
#include "Texts.h"

#include <QStringList>

namespace {

// A whole number standing alone in a list ("12", "-2"); false for
// anything else.
bool readId(QStringView token, int &id)
{
    bool ok = false;
    id = token.trimmed().toInt(&ok);
    return ok;
}

} // namespace

tReportDefinition::tReportDefinition()
{
    Debut = Fin = Platform::LocalTime::localDate(Platform::Clock::now());
    Columns.SetType(CReportColumnSet::TypeForReportKind(Type));
    SetDefaultColumns(Columns);
}

std::vector<int> tReportDefinition::Levels() const
{
    std::vector<int> levels;
    for (int level : Grp) {
        if (level == NoLevel)
            break;
        levels.push_back(level);
    }
    return levels;
}

QString tReportDefinition::GetDisplayName() const
{
    if (!Nom.isEmpty())
        return Nom;
    if (!Titre.isEmpty())
        return Titre;
    return Platform::Texts::get(332);
}

void tReportDefinition::BuildAutoTitle()
{
    if (TitreAuto)
        Titre = AutomaticTitle();
}

QString tReportDefinition::ShownTitle() const
{
    // An automatic title follows the kind and the period as they are now,
    // whether or not a page made it since they changed.
    return TitreAuto ? AutomaticTitle() : Titre;
}

QString tReportDefinition::AutomaticTitle() const
{
    // Detail and summary titles of kinds 0 to 4.
    static const Platform::TextId detailTitles[5] = {343, 344, 178, 179, 521};
    static const Platform::TextId summaryTitles[5] = {366, 367, 179, 179, 521};
    // "Toutes les dates" ... "Aujourd'hui", periods 0 to 8.
    static const Platform::TextId periodTexts[9] = {115, 116, 117, 118, 119, 120, 121, 122, 123};
    const int kind = Type >= 0 && Type <= 4 ? Type : 0;
    const QString kindText = Platform::Texts::get(Detail ? detailTitles[kind] : summaryTitles[kind]);
    QString periodText;
    if (Type != 4 && Periode >= 0 && Periode <= 8)
        periodText = Platform::Texts::get(periodTexts[Periode]);
    return periodText.isEmpty() ? kindText : Platform::Formatter::sprintf(u"%s - %s", {kindText, periodText});
}

void tReportDefinition::SetDefaultColumns(CReportColumnSet &columns) const
{
    columns.FillDefault();
    if (Type == 4) {
        for (int kind : {21, 22, 23, 24, 25, 27, 28, 29, 30, 31, 32, 33})
            columns.ShowKind(kind);
    } else if (Type != 3) {
        bool dayLevel = false;
        bool projectLevel = false;
        bool activityLevel = false;
        const std::vector<int> levels = Levels();
        for (int level : levels) {
            dayLevel = dayLevel || level == 2;
            projectLevel = projectLevel || level == 3;
            activityLevel = activityLevel || level == 4;
        }
        if (Detail) {
            if (!dayLevel)
                columns.ShowKind(0);
            if (!projectLevel)
                columns.ShowKind(1);
            if (!activityLevel)
                columns.ShowKind(2);
        } else if (!levels.empty()) {
            // The last level names the lines.
            const int last = levels.back();
            columns.ShowKind(last == 3 ? 1 : last == 4 ? 2 : 0);
        }
        if (Type == 0 || Type == 2) {
            if (Detail) {
                columns.ShowKind(3);
                columns.ShowKind(4);
            }
            columns.ShowKind(5);
        }
        if (Type == 1 || Type == 2) {
            columns.ShowKind(6);
            columns.ShowKind(7);
        }
        if (Detail && ShowStatus)
            columns.ShowKind(8);
    }
    columns.SetDefault(true);
}

void tReportDefinition::NormaliseProjectList()
{
    if (Projets.isEmpty())
        return;
    QStringList kept;
    if (Type == 4) {
        if (!Projets.startsWith(u'('))
            return;
        // "(1,2)" names projects: each becomes the pair of its own row.
        const QString inner = Projets.mid(1).section(u')', 0, 0);
        int id = 0;
        for (const QString &token : inner.split(u',')) {
            if (readId(token, id))
                kept << QString::number(id);
        }
        if (!kept.isEmpty())
            Projets = u';' + kept.join(QStringLiteral(",-2;")) + QStringLiteral(",-2;");
        return;
    }
    if (Projets.contains(u'('))
        return;
    // "12,-2;15,40;12,3": the project of each pair, once.
    for (const QString &token : Projets.split(u';')) {
        int id = 0;
        const QString project = token.section(u',', 0, 0);
        if (readId(project, id) && !kept.contains(QString::number(id)))
            kept << QString::number(id);
    }
    if (!kept.isEmpty())
        Projets = u'(' + kept.join(u',') + u')';
}

bool tReportDefinition::ContainsProject(int projectId) const
{
    if (Projets.isEmpty())
        return true;
    const QString id = QString::number(projectId);
    return Projets.contains(u'(' + id + u')') || Projets.contains(u'(' + id + u',')
           || Projets.contains(u',' + id + u',') || Projets.contains(u',' + id + u')');
}
