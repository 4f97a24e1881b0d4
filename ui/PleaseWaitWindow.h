#pragma once

#include <QWidget>

class QLabel;

namespace vesmarin {

// The small box shown over a window while a long operation runs: no title bar, not in the task bar, two
// lines: the operation's name above, "Please Wait" below.
class PleaseWaitWindow : public QWidget {
public:
    PleaseWaitWindow(QWidget* owner, const QString& operation, const QString& pleaseWait);

    // Places the box centred on its owner, where the owner stands now, and shows it.
    void showCentredOnOwner();
    // Changes the upper line, for an operation that tells how far it has come.
    void setOperation(const QString& operation);

private:
    QWidget* owner_;
    QLabel* operation_;
};

} // namespace vesmarin
