#pragma once

// The details of one icon: where it comes from (the file's full path, the index, the group and its
// language) and every image its group stores, side by side at its own size on a checkerboard, each with its
// size, depth and kind, to save as PNG or copy; and the whole group to save as an .ico file. It stays open
// beside the main window, shows the next icon asked for, and follows the language switch.

#include "base/Language.h"
#include "browse/IconFiles.h"
#include "platform/Interaction.h"
#include "ui/ErrorReport.h"

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;

namespace vesmarin {

class WhatsThisHelp;

class IconDetailsDialog : public QDialog {
    Q_OBJECT

public:
    // Images larger than this are shown reduced to it.
    static constexpr int kLargestShown = 256;

    // `iconFolder` gives the folder the save dialogs open in.
    IconDetailsDialog(Interaction& ui, const Language& language, QWidget* mainWindow,
                      std::function<QString()> iconFolder);
    ~IconDetailsDialog() override;

    // Shows the icon, read afresh from its file, and brings the window forward. Raises the run-time error of
    // a file or group that can no longer be read.
    void showIcon(const IconSource& icon);
    // Puts the texts of the language in force in place.
    void applyLanguage();

private:
    struct ImageControls {
        QLabel* picture;
        QLabel* label;
        QPushButton* savePng;
        QPushButton* copy;
        bool readable;
    };

    void createControls();
    void addImage(int image, const iconreader::ImageInfo& info);
    void placeOnScreen();
    void saveImagePng(int image);
    void copyImage(int image);
    void saveGroupIco();
    ErrorReport errors();

    Interaction& ui_;
    const Language& language_;
    QWidget* mainWindow_;
    std::function<QString()> iconFolder_;
    IconSource icon_;
    std::optional<iconreader::IconFile> file_; // open while the icon is shown: what is saved is what is seen
    std::vector<iconreader::ImageInfo> infos_;
    std::optional<IconOrigin> origin_;

    QLabel* fileCaption_;
    QLabel* path_;
    QLabel* indexCaption_;
    QLabel* index_;
    QLabel* groupCaption_;
    QLabel* group_;
    QLabel* languageCaption_;
    QLabel* languageLabel_;
    QScrollArea* imagesArea_;
    QWidget* images_;
    std::vector<ImageControls> imageControls_;
    QPushButton* saveIcoButton_;
    QPushButton* closeButton_;
    WhatsThisHelp* help_;
};

} // namespace vesmarin
