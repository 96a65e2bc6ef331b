#include "OptionPageTools.h"

#include "COptionsContext.h"
#include "FileModes.h"
#include "FolderMovePlan.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RichMessageBox.h"
#include "Settings.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>

namespace OptionPageTools {

void FillCombo(QComboBox *combo, const QStringList &entries, const QList<int> &values, int selected)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (qsizetype i = 0; i < entries.size(); ++i)
        combo->addItem(entries[i], i < values.size() ? values[i] : int(i));
    combo->setCurrentIndex(combo->findData(selected));
}

void FillTextCombo(QComboBox *combo, const QList<Platform::TextId> &texts, const QList<int> &values,
                   int selected)
{
    QStringList entries;
    for (const Platform::TextId id : texts)
        entries << Platform::Texts::get(id);
    FillCombo(combo, entries, values, selected);
}

QString FolderWithSlash(const QString &folder)
{
    const QString trimmed = folder.trimmed();
    if (trimmed.isEmpty())
        return QString();
    QString clean = QDir::cleanPath(QDir::fromNativeSeparators(trimmed));
    if (!clean.endsWith(u'/'))
        clean += u'/';
    return clean;
}

int ShowPageMessage(QWidget *owner, quint32 type, const QString &text)
{
    return RichMessageBox(type, owner, text, Platform::Texts::get(128));
}

int AskToMoveFiles(QWidget *owner, const QString &from, const QString &to)
{
    const QString text = Platform::Formatter::sprintf(Platform::Texts::get(176), {from, to});
    return ShowPageMessage(owner, MessageBoxType::YesNoCancel | MessageBoxType::IconQuestion, text);
}

void ShowCopyError(QWidget *owner, const QString &from, const QString &to)
{
    ShowPageMessage(owner, MessageBoxType::IconExclamation,
                    Platform::Formatter::sprintf(Platform::Texts::get(177), {from, to}));
}

bool AcceptFolder(QWidget *owner, const QString &folder, MissingFolder missing, int missingText)
{
    if (folder.isEmpty() || QDir::isRelativePath(folder)) {
        ShowPageMessage(owner, MessageBoxType::IconExclamation, Platform::Texts::get(172));
        return false;
    }
    if (QFileInfo(folder).isDir())
        return true;
    if (missing == MissingFolder::Refuse) {
        ShowPageMessage(owner, MessageBoxType::IconExclamation, Platform::Texts::get(missingText));
        return false;
    }
    const bool made =
        missing == MissingFolder::MakePrivate ? Platform::FileModes::MakePrivateFolder(folder) : QDir().mkpath(folder);
    if (made)
        return true;
    ShowPageMessage(owner, MessageBoxType::IconExclamation,
                    Platform::Formatter::sprintf(Platform::Texts::get(399), {folder}));
    return false;
}

bool CheckMoves(QWidget *owner, const FolderMovePlan &plan)
{
    const FolderMovePlan::CheckResult check = plan.Check();
    if (check.problem == FolderMovePlan::Problem::None)
        return true;
    ShowCopyError(owner, check.source, check.target);
    return false;
}

bool CopyMoves(QWidget *owner, const COptionsContext &context, FolderMovePlan &plan)
{
    if (plan.IsEmpty())
        return true;
    if (context.RunCopy(owner, plan))
        return true;
    // Failed or cancelled (a cancel may come just after the copy ended):
    // nothing copied stays, and only a failure is told.
    const FolderMovePlan::Move *failed = plan.WasCancelled() ? nullptr : plan.FailedMove();
    const QString from = failed ? failed->source : QString();
    const QString to = failed ? failed->target : QString();
    plan.Abandon();
    if (failed)
        ShowCopyError(owner, from, to);
    return false;
}

void FinishMoves(QWidget *owner, FolderMovePlan &plan, bool switched)
{
    if (plan.IsEmpty())
        return;
    if (!switched) {
        const FolderMovePlan::Move first = plan.Moves().front();
        plan.Abandon();
        plan.Clear();
        ShowCopyError(owner, first.source, first.target);
        return;
    }
    QStringList left;
    for (const FolderMovePlan::Move &move : plan.Moves())
        left << move.source;
    if (!plan.RemoveOriginals()) {
        // Everything is in its new place; some old files could not go.
        ShowPageMessage(owner, MessageBoxType::IconExclamation,
                        Platform::Formatter::sprintf(Platform::Texts::get(20005), {left.join(u'\n')}));
    }
    plan.Clear();
}

bool WriteSettingsChecked(const std::function<void(Platform::Settings &)> &write,
                          const std::function<void(Platform::Settings &)> &restore)
{
    Platform::Settings settings;
    write(settings);
    const bool stored = settings.sync() && !FolderMovePlan::Fault(FolderMovePlan::Stage::SettingsWrite,
                                                                 settings.filePath());
    if (stored)
        return true;
    restore(settings);
    settings.sync();
    return false;
}

} // namespace OptionPageTools
