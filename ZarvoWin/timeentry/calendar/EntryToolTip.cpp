#include "EntryToolTip.h"

#include "CConfiguration.h"
#include "CProject.h"
#include "CProjectStore.h"

tEntryTip EntryToolTip(const tTacheFull &entry, const CProjectStore *store, const CConfiguration &config,
                       const tEntryBoxTexts &texts, qint64 now)
{
    tEntryTip tip;
    if (!entry.Title.isEmpty())
        tip.label = entry.Title + u'\n';
    tip.label += texts.project;
    const CProject *project = store ? store->GetNode(entry.IdProjet) : nullptr;
    if (project && project->GetParent())
        tip.label += u' ' + project->GetFullName();
    tip.label += u'\n' + texts.activity;
    if (const tElement *activity = store ? store->GetActivity(entry.IdActivite) : nullptr)
        tip.label += u' ' + activity->Nom;

    const bool running = entry.Fin == 0;
    tip.description = texts.start + u' ' + config.FormatDate(entry.Debut, true, true) + u'\n' + texts.end + u' '
                      + (running ? texts.running : config.FormatDate(entry.Fin, true, true)) + u'\n'
                      + texts.duration + u' ' + config.FormatDuration((running ? now : entry.Fin) - entry.Debut);
    if (!entry.Notes.isEmpty())
        tip.description += QStringLiteral("\n\n") + entry.Notes;
    return tip;
}

tEntryTip CommandToolTip(const QString &text)
{
    const qsizetype lineBreak = text.indexOf(u'\n');
    if (lineBreak < 0)
        return {text, QString()};
    return {text.mid(lineBreak + 1), text.left(lineBreak)};
}
