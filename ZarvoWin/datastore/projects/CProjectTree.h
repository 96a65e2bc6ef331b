#pragma once
#include <QtGlobal>

#include <vector>

class CProject;
struct tElement;
struct tProjectContext;

// What a node of the project tree asks of the tree it belongs to: the
// nodes and activities by id, what the tree reads from the rest of the
// program, and the predecessor loop checks that need the whole tree. The
// project store answers; a node knows the store only through this, so the
// node stays below the store that owns it.
class CProjectTree
{
public:
    virtual ~CProjectTree() = default;

    virtual CProject *GetRoot() = 0;
    virtual const CProject *GetRoot() const = 0;
    // The node of a project (activity -2) or of an activity below it.
    virtual CProject *FindNode(int activityId, int projectId) const = 0;
    virtual CProject *GetNode(int projectId) const = 0;
    virtual const tElement *GetActivity(int id) const = 0;
    virtual quint32 GetActivityColor(int id) const = 0;
    virtual const tProjectContext &Context() const = 0;
    // The instant the last forecast run started from.
    virtual qint64 ForecastFrom() const = 0;

    // The loop checks' time budget, and the check of the own links of
    // several nodes at once (false: a link leads back, or out of time).
    virtual bool LoopCheckTimedOut() const = 0;
    virtual bool CheckOwnLinks(const std::vector<const CProject *> &nodes) = 0;
};
