#pragma once
#include <QString>

class CProject;

// What the project-tracking windows need of the application: opening the
// project editor on a node and the status bar. The shell implements it by
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
};
