#include "ui/PopupMenu.h"

#include "platform/Interaction.h"

#include <QAction>
#include <QCursor>
#include <QWidget>

namespace vesmarin {

namespace {

// Puts the remembered captions back however the menu's action ended.
class CaptionsRestorer {
public:
    explicit CaptionsRestorer(const std::vector<std::pair<QAction*, QString>>& values) {
        for (const auto& [item, value] : values) {
            saved_.emplace_back(item, item->text());
            // A menu reads "&" as the mark of a shortcut letter; a folder named "a&b" must show as it is.
            QString shown = value;
            item->setText(ExtendedCaption(item->text(), shown.replace(u'&', QStringLiteral("&&"))));
        }
    }
    ~CaptionsRestorer() {
        for (const auto& [item, caption] : saved_)
            item->setText(caption);
    }
    CaptionsRestorer(const CaptionsRestorer&) = delete;
    CaptionsRestorer& operator=(const CaptionsRestorer&) = delete;

private:
    std::vector<std::pair<QAction*, QString>> saved_;
};

} // namespace

QString ExtendedCaption(const QString& caption, const QString& value) {
    return caption + QStringLiteral("  [ ") + value + QStringLiteral(" ]");
}

QAction* PopupWithValues(Interaction& ui, QMenu* menu, const QPoint& globalPos,
                         const std::vector<std::pair<QAction*, QString>>& values) {
    const CaptionsRestorer extended(values);
    return ui.popupMenu(menu, globalPos);
}

QPoint MenuPosition(const QWidget* button) {
    const QPoint mouse = QCursor::pos();
    if (button->rect().contains(button->mapFromGlobal(mouse)))
        return mouse;
    return button->mapToGlobal(QPoint(0, button->height()));
}

} // namespace vesmarin
