#pragma once

// Making a given path current: the one way every caller other than a click in the tree changes the
// current path (start-up, Refresh, Up one level, the recall menu). When part of the path is missing the
// user is told how much was found and gets one more attempt, for instance after inserting a disk.

#include "platform/Interaction.h"
#include "ui/basGlobal.h"

#include <QString>

class QWidget;

namespace vesmarin {

class basTreeViewManager;

// Selects `path` (display or key form) in the tree as far as it exists. Messages go to `ui`, owned by
// `parent`, in the language of `state`. Nothing is caught here: errors reach the caller's trap.
void RecallPath(const QString& path, basTreeViewManager& tree, Interaction& ui, const SharedState& state,
                QWidget* parent);

// Reads the whole tree anew from the drives and selects the current path again.
void RefreshTree(basTreeViewManager& tree, Interaction& ui, const SharedState& state, QWidget* parent);

// Selects the parent of the current path; on a drive root tells the user there is no level above.
void UpOneLevel(basTreeViewManager& tree, Interaction& ui, const SharedState& state, QWidget* parent);

} // namespace vesmarin
