"""Prints the texts of the push buttons of a Vesmarin window whose title is given, left to right and
joined by "|", as the accessibility tree (AT-SPI) shows them. Waits up to the given number of seconds for
such a window to appear, and, when EXPECTED is given, for one such window whose buttons read so (a window
just closed may linger in the tree a moment); prints what it saw last. Exits 1 when no such window
appeared.

Usage: a11y_buttons.py TITLE SECONDS [EXPECTED]
"""
import sys
import time

import pyatspi


def buttons(node, found):
    for child in node:
        if child is None:
            continue
        if child.getRole() == pyatspi.ROLE_PUSH_BUTTON:
            x = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x
            found.append((x, child.name))
        else:
            buttons(child, found)
    return found


def windows_buttons(title):
    """The buttons of each shown window with that title (a dialog and its message share one)."""
    found = []
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != "Vesmarin":
            continue
        for window in app:
            if window is not None and window.name == title and \
                    window.getState().contains(pyatspi.STATE_SHOWING):
                found.append("|".join(name for _, name in sorted(buttons(window, []))))
    return found


def main():
    title, seconds = sys.argv[1], float(sys.argv[2])
    expected = sys.argv[3] if len(sys.argv) > 3 else None
    deadline = time.monotonic() + seconds
    seen = None
    while True:
        try:
            found = windows_buttons(title)
        except Exception:  # a window that closes while it is read
            found = []
        if found:
            seen = expected if expected in found else found[0]
            if expected is None or seen == expected:
                break
        if time.monotonic() >= deadline:
            break
        time.sleep(0.2)
    if seen is None:
        return 1
    print(seen)
    return 0


if __name__ == "__main__":
    sys.exit(main())
