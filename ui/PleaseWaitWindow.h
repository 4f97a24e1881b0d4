#pragma once

#include <QWidget>

namespace vesmarin {

// The small box shown over a window while a long operation runs: no title bar, not in the task bar, two
// lines: the operation's name above, "Please Wait" below.
class PleaseWaitWindow : public QWidget {
public:
    PleaseWaitWindow(QWidget* owner, const QString& operation, const QString& pleaseWait);

    // Places the box centred on its owner, where the owner stands now, and shows it.
    void showCentredOnOwner();

private:
    QWidget* owner_;
};

} // namespace vesmarin
