#pragma once

#include <QUndoGroup>

// The undo history of the project: one stack per open document, the active
// one following the current tab. One instance per process.
class UserOptGroup : public QUndoGroup
{
    Q_OBJECT
public:
    // Creates the group on the first call (or after its owner destroyed it),
    // parented to parent (may be null).
    static UserOptGroup *instance(QObject *parent = nullptr);

private:
    explicit UserOptGroup(QObject *parent);
};
