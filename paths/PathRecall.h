#pragma once

// Making a given path current: the one way every caller other than a click in the tree changes the
// current path (start-up, Refresh, Up one level, the recall menu). When part of the path is missing the
// user is told how much was found and gets one more attempt, for instance after inserting a disk.

#include "base/Language.h"
#include "platform/Interaction.h"

#include <QString>

class QWidget;

namespace vesmarin {

class FolderTree;

class PathRecall {
public:
    // Messages go through `ui`, owned by `parent`, in the language in force. Nothing is caught here:
    // errors reach the caller's trap.
    PathRecall(FolderTree& tree, Interaction& ui, const Language& language, QWidget* parent)
        : tree_(tree), ui_(ui), language_(language), parent_(parent) {}

    // Selects `path` (display or key form) in the tree as far as it exists.
    void recall(const QString& path);

    // Reads the whole tree anew from the drives and selects the current path again.
    void refresh();

    // Selects the parent of the current path; on a drive root tells the user there is no level above.
    void upOneLevel();

private:
    QString keepRecalledPart();

    FolderTree& tree_;
    Interaction& ui_;
    const Language& language_;
    QWidget* parent_;
};

} // namespace vesmarin
