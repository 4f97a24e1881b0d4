#pragma once

// The two working controls of the main window that take part in activating a tree node. Neither is ever
// shown: the file list is pointed at the active folder (reading that folder is how activation notices a
// folder that has gone), and the placeholder list takes the file list's place when that fails.

#include <QRect>
#include <QString>
#include <QStringList>

namespace vesmarin {

struct HiddenFileList {
    QString path; // the folder it was last pointed at successfully, with its trailing separator
    bool visible = true;
    QRect geometry;
};

struct HiddenList {
    QStringList items;
    bool visible = true;
    QRect geometry;
    void clear() { items.clear(); }
};

} // namespace vesmarin
