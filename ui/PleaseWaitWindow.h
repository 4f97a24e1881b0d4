#pragma once

#include <QWidget>

class QLabel;

namespace vesmarin {

// The small box shown over the main window while a long operation runs: no title bar, not in the task
// bar, two lines whose texts the caller sets (the operation's name above, "Please Wait" below).
class frmPleaseWait : public QWidget {
public:
    explicit frmPleaseWait(QWidget* owner);

    // Places the box centred on its owner, where the owner stands now, and shows it.
    void ShowCentredOnOwner();

    QLabel* lblBrowsing;
    QLabel* lblPleaseWait;

private:
    QWidget* owner_;
};

} // namespace vesmarin
