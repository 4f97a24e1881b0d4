#pragma once

#include <QElapsedTimer>

namespace vesmarin {

// Lets the windows repaint during a long loop, but not at every step: a walk over many thousands of files
// must not spend its time painting labels, and the windows must still repaint many times a second.
class EventPump {
public:
    static constexpr int kIntervalMs = 40;

    // True when the windows are due a repaint (always on the first call).
    bool due() const { return !clock_.isValid() || clock_.elapsed() >= kIntervalMs; }
    // Lets the window system process the waiting events; an error raised meanwhile is ignored.
    void run();

private:
    QElapsedTimer clock_;
};

} // namespace vesmarin
