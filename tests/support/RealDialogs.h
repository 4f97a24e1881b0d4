#pragma once

// Answers the real message boxes and file dialogs that open while a test runs, as a person would: each
// one that appears is handed to the next step of a script, which reads it and presses a button with the
// mouse or the keyboard. A box that no step is left for fails the test and is closed, so no test hangs.

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

namespace vesmarin::test {

class RealDialogs {
public:
    using Step = std::function<void(QDialog&)>;

    explicit RealDialogs(std::initializer_list<Step> steps) : steps_(steps) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
    }
    ~RealDialogs() { EXPECT_TRUE(steps_.empty()) << steps_.size() << " dialog steps were not used"; }

    void then(Step step) { steps_.push_back(std::move(step)); }
    // Every box handled so far, in order: "title | text | icon | buttons, [the default]".
    QStringList seen;

    // Steps for a message box: click one of its buttons, or press a key on the button that has the focus.
    static Step Click(QMessageBox::StandardButton button) {
        return [button](QDialog& d) {
            QTest::mouseClick(static_cast<QMessageBox&>(d).button(button), Qt::LeftButton);
        };
    }
    static Step Key(Qt::Key key) {
        return [key](QDialog& d) { QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, key); };
    }

private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        auto* box = qobject_cast<QMessageBox*>(dialog);
        // Nothing new, or one of the program's own dialogs, which the test drives itself.
        if (!dialog || !dialog->isVisible() || dialog->property("vesmarinAnswered").toBool() ||
            !(box || qobject_cast<QFileDialog*>(dialog)))
            return;
        dialog->setProperty("vesmarinAnswered", true);
        if (box) {
            QStringList texts;
            for (const QAbstractButton* b : box->buttons())
                texts << (b == box->defaultButton() ? '[' + b->text() + ']' : b->text());
            const char* icon = QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon());
            seen << QStringList{box->windowTitle(), box->text(), icon, texts.join(' ')}.join(" | ");
        }
        if (steps_.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << dialog->windowTitle().toStdString();
            return dialog->reject();
        }
        // Run apart from the polling, which must go on meanwhile: the step may open a box of its own.
        QTimer::singleShot(0, dialog, [step = steps_.front(), dialog] { step(*dialog); });
        steps_.pop_front();
    }

    std::deque<Step> steps_;
    QTimer timer_;
};

// Asks `control` for help as a person does: a right or middle click through its window, as the window
// system delivers it (the toolkit then also sends the context-menu request that follows a right press), or
// (Qt::NoButton) the menu key, which sends that request from the keyboard. Returns the names of any
// pop-up menus that opened meanwhile ("" for none), closed again at once, so that a test sees a menu that
// should not be.
inline std::string AskForHelp(QWidget* control, Qt::MouseButton button) {
    std::string menus;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&menus] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menus += "[menu " + menu->objectName().toStdString() + ']';
            menu->close();
        }
    });
    watch.start(5);
    const QPoint centre = control->rect().center();
    QWidget* window = control->window();
    if (button == Qt::NoButton) {
        QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, control->mapToGlobal(centre));
        QApplication::sendEvent(control, &request);
    } else
        QTest::mouseClick(window->windowHandle(), button, {}, control->mapTo(window, centre));
    QApplication::processEvents();
    return menus;
}

} // namespace vesmarin::test
