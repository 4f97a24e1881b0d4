#pragma once

// Answers the real message boxes and file dialogs that open while a test runs, as a person would: each
// one that appears is handed to the next step of a script, which reads it and presses a button with the
// mouse or the keyboard. A box that no step is left for fails the test and is closed, so no test hangs.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
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

// What a message box showed.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons; // their texts, in the order they stand
    QString defaultButton;
};

class RealDialogs {
public:
    using Step = std::function<void(QDialog&)>;

    explicit RealDialogs(std::initializer_list<Step> steps = {}) : steps_(steps) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(5);
    }
    ~RealDialogs() { EXPECT_TRUE(steps_.empty()) << steps_.size() << " dialog steps were not used"; }

    RealDialogs& then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    // Every box handled so far, in order.
    std::vector<SeenBox> seen;

    // Steps for a message box: records it, then clicks one of its buttons, or presses a key on the
    // button that has the focus (Return, Escape).
    static Step Click(QMessageBox::StandardButton button) {
        return [button](QDialog& d) {
            auto& box = static_cast<QMessageBox&>(d);
            ASSERT_NE(box.button(button), nullptr)
                << "the box has no such button: " << box.text().toStdString();
            QTest::mouseClick(box.button(button), Qt::LeftButton);
        };
    }
    static Step Key(Qt::Key key) {
        return [key](QDialog& d) { QTest::keyClick(d.focusWidget() ? d.focusWidget() : &d, key); };
    }

private:
    void Poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog->property("vesmarinAnswered").toBool())
            return;
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (!box && !qobject_cast<QFileDialog*>(dialog))
            return; // one of the program's own dialogs, which the test drives itself
        dialog->setProperty("vesmarinAnswered", true);
        if (box) {
            QList<QAbstractButton*> buttons = box->buttons();
            std::sort(buttons.begin(), buttons.end(),
                      [](const QAbstractButton* a, const QAbstractButton* b) { return a->x() < b->x(); });
            seen.push_back({box->windowTitle(), box->text(), box->icon(), {}, {}});
            for (const QAbstractButton* b : buttons)
                seen.back().buttons << b->text();
            if (box->defaultButton())
                seen.back().defaultButton = box->defaultButton()->text();
        }
        if (steps_.empty()) {
            ADD_FAILURE() << "unexpected dialog: " << dialog->windowTitle().toStdString() << " "
                          << (box ? box->text().toStdString() : std::string());
            dialog->reject();
            return;
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
// (Qt::NoButton) the menu key, which sends that request from the keyboard. Returns the items of any
// pop-up menu that opened meanwhile ("" for none), closed again at once, so that a test sees a menu that
// should not be.
inline std::string AskForHelp(QWidget* control, Qt::MouseButton button) {
    QStringList menus;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&menus] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* a : menu->actions())
                menus << a->text();
            menu->close();
        }
    });
    watch.start(5);
    const QPoint centre = control->rect().center();
    if (button == Qt::NoButton) {
        QContextMenuEvent request(QContextMenuEvent::Keyboard, centre, control->mapToGlobal(centre));
        QApplication::sendEvent(control, &request);
    } else {
        QWidget* window = control->window();
        QTest::mouseClick(window->windowHandle(), button, {}, control->mapTo(window, centre));
    }
    QApplication::processEvents();
    return menus.join(QStringLiteral(" | ")).toStdString();
}

} // namespace vesmarin::test
