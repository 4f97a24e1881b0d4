#pragma once

// Finding the controls of a window as help and accessibility tools do: by object name, and for an element of
// a control array by its "Index" property as well.

#include <QObject>
#include <QString>
#include <QVariant>
#include <gtest/gtest.h>

namespace vesmarin::test {

template <class T = QWidget> T* Control(const QObject& window, const char* name, int index = -1) {
    for (T* control : window.findChildren<T*>(QString::fromLatin1(name)))
        if (index < 0 || control->property("Index").toInt() == index)
            return control;
    ADD_FAILURE() << "no control " << name
                  << (index >= 0 ? "(" + std::to_string(index) + ")" : std::string());
    return nullptr;
}

} // namespace vesmarin::test
