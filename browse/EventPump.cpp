#include "browse/EventPump.h"

#include <QCoreApplication>

namespace vesmarin {

void EventPump::run() {
    clock_.start(); // measured from the start of one repaint to the next
    try {
        QCoreApplication::processEvents();
    } catch (...) {
        // A failure while repainting must not end the operation that let it happen.
    }
}

} // namespace vesmarin
