#pragma once
#include <QString>

class CProject;

// What the project-tracking windows need of the application: the project
// editor, the copy dialog, starting a task and the status bar. The shell implements it by
// forwarding to its openers and main frame; tests pass a host that records.
class CForecastHost
{
public:
    virtual ~CForecastHost() = default;

    // The project editor on a project or an activity row, modal; true when
    // it stored a change. The node is not used once the editor has opened
    // (a change reloads the store).
    virtual bool EditNode(const CProject &node) = 0;
    // A text in the main window's status bar; an empty one puts the idle
    // text back.
    virtual void ShowStatusText(const QString &text) = 0;
    // The project editor on a new project, or a new activity row
    // (`activity`), below the project `parentId` (-1: none); true when it
    // stored one.
    virtual bool NewNode(int parentId, bool activity)
    {
        (void)parentId;
        (void)activity;
        return false;
    }
    // The copy dialog of a project below `parentId` (-1: at the top), before
    // or after `referenceId` (-1: as the last child); true when it copied.
    virtual bool CopyProject(int projectId, int parentId, int referenceId, bool before)
    {
        (void)projectId;
        (void)parentId;
        (void)referenceId;
        (void)before;
        return false;
    }
    // A running time entry starting now on a project or an activity row.
    virtual void StartTask(int projectId, int activityId)
    {
        (void)projectId;
        (void)activityId;
    }
};
