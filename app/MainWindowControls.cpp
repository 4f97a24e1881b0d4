#include "app/MainWindowControls.h"

#include "app/Pictures.h"
#include "browse/IconGrid.h"
#include "language/core/WindowTexts.h"
#include "paths/FolderTreeWidget.h"
#include "ui/Layout.h"
#include "ui/UpDown.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace vesmarin {

namespace {

// The frames are small: their captions sit on the frame line, leaving the room inside to the controls.
const QString kFrameStyle =
    QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 6px; }"
                   "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: "
                   "6px; padding: 0 1px; }");

template <class W> W* Make(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* w = Named(new W(parent), name);
    PlaceInTwips(w, left, top, width, height);
    return w;
}

// A control array's element: the name is shared, the "Index" property tells the elements apart.
template <class W> W* Element(W* w, int index) {
    w->setProperty("Index", index);
    return w;
}

QPushButton* PictureButton(QWidget& window, const char* name, pictures::Button picture, int left, int top) {
    auto* b = Make<QPushButton>(&window, name, left, top, 492, 492);
    b->setIcon(pictures::ButtonIcon(picture, window.style()));
    b->setIconSize(QSize(22, 22));
    return b;
}

// The controls are made in the order the keyboard's Tab visits them.

void CreateFolderTree(QWidget& window, MainWindowControls& c) {
    c.folderTree = Make<FolderTreeWidget>(&window, "tvwControl", 120, 120, 3132, 3732);
    c.caseSensitive = Make<QCheckBox>(&window, "chkCaseSensitive", 120, 3960, 3132, 252);
    c.caseSensitive->setText(QStringLiteral("Διαχωρισμός πεζών-κεφαλαίων"));
    QPalette red = c.caseSensitive->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    red.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    c.caseSensitive->setPalette(red);
}

void CreateOptions(QWidget& window, MainWindowControls& c) {
    c.kindsFrame = Make<QGroupBox>(&window, "fraWhatToBrowse", 120, 4320, 1932, 612);
    c.kindsFrame->setTitle(QStringLiteral("fraWhatToBrowse"));
    c.kindsFrame->setStyleSheet(kFrameStyle);
    c.kinds[0] = Element(Make<QCheckBox>(c.kindsFrame, "chkWhatToBrowse", 240, 240, 732, 252), 0);
    c.kinds[1] = Element(Make<QCheckBox>(c.kindsFrame, "chkWhatToBrowse", 1080, 240, 732, 252), 1);
    c.kinds[0]->setText(QStringLiteral("EXE"));
    c.kinds[1]->setText(QStringLiteral("DLL"));

    c.levelsFrame = Make<QGroupBox>(&window, "fraLevels", 120, 5040, 1932, 612);
    c.levelsFrame->setTitle(QStringLiteral("fraLevels"));
    c.levelsFrame->setStyleSheet(kFrameStyle);
    c.allLevelsButton = Make<QPushButton>(c.levelsFrame, "cmdAll", 120, 240, 612, 252);
    c.allLevelsButton->setText(QStringLiteral("cmdAll"));
    c.levels = Make<QLineEdit>(c.levelsFrame, "txtLevels", 840, 240, 732, 288);
    c.levels->setMaxLength(4);
    c.levels->setAlignment(Qt::AlignCenter);
    c.levelsUpDown = Named(new UpDown(c.levelsFrame, c.levels, 0, 9999), "updLevels");
    PlaceInTwips(c.levelsUpDown, 1560, 240, 216, 288);
    // The button and the up-down are as tall as the box between them.
    for (QWidget* w : std::initializer_list<QWidget*>{c.allLevelsButton, c.levelsUpDown})
        w->resize(w->width(), c.levels->height());
}

void CreatePictureButtons(QWidget& window, MainWindowControls& c) {
    c.refreshButton = PictureButton(window, "cmdRefresh", pictures::Button::Refresh, 2160, 4440);
    c.upOneLevelButton = PictureButton(window, "cmdUpOneLevel", pictures::Button::UpOneLevel, 2760, 4440);
    c.savePathButton = PictureButton(window, "cmdSavePath", pictures::Button::SavePath, 2160, 5160);
    c.browseButton = PictureButton(window, "cmdBrowse", pictures::Button::Browse, 2760, 5160);
    c.helpButton = PictureButton(window, "cmdHelp", pictures::Button::Help, 120, 5760);
    c.recallPathButton = PictureButton(window, "cmdRecallPath", pictures::Button::RecallPath, 2160, 5760);
    c.endButton = PictureButton(window, "cmdEnd", pictures::Button::End, 2760, 5760);
}

void CreateLanguageButtonsAndNotice(QWidget& window, MainWindowControls& c) {
    const QSize flagSize(24, 16);
    for (int i = 0; i < 2; ++i) {
        auto* b = Element(Make<QPushButton>(&window, "cmdLanguage", i == 0 ? 840 : 1440, 5760, 492, 492), i);
        b->setIconSize(flagSize);
        c.languageButtons[static_cast<std::size_t>(i)] = b;
    }
    // Each tip names both languages, so it reads the same whichever is in force.
    c.languageButtons[0]->setIcon(pictures::GreekFlag(flagSize.width(), flagSize.height()));
    c.languageButtons[0]->setToolTip(QStringLiteral("Ελληνικά / Greek"));
    c.languageButtons[1]->setIcon(pictures::EnglishFlag(flagSize.width(), flagSize.height()));
    c.languageButtons[1]->setToolTip(QStringLiteral("English / Αγγλικά"));

    c.noticePicture = Make<QLabel>(&window, "picCopyright", 120, 6360, 432, 432);
    c.noticePicture->setPixmap(pictures::Notice(c.noticePicture->width()));
    c.noticePicture->setToolTip(PictureName());
    c.notice = Make<QLabel>(&window, "lblCopyright", 600, 6360, 2652, 492);
    c.notice->setText(QStringLiteral("lblCopyright"));
    c.notice->setWordWrap(true);
    c.notice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    c.notice->resize(c.notice->width(), c.noticePicture->height()); // level with the picture
}

// The current path, the information line, the icon grid and the next-set button.
void CreateRightHandColumn(QWidget& window, MainWindowControls& c) {
    c.currentPath = Make<QLabel>(&window, "lblCurrentPath", 3360, 120, 6132, 252);
    c.currentPath->setText(QStringLiteral("lblCurrentPath"));
    c.info = Make<QLabel>(&window, "lblInfo", 3360, 480, 6132, 252);
    c.info->setText(QStringLiteral("lblInfo"));
    // Both show folder and file names, which may look like markup ("<b>old"): never read them as such.
    c.currentPath->setTextFormat(Qt::PlainText);
    c.info->setTextFormat(Qt::PlainText);
    // lblInfo follows a long operation while the window is disabled: it keeps its normal colours.
    QPalette info = c.info->palette();
    info.setColor(QPalette::Disabled, QPalette::WindowText,
                  info.color(QPalette::Active, QPalette::WindowText));
    c.info->setPalette(info);

    c.iconGrid = Make<IconGrid>(&window, "grdControl", 3360, 840, 6132, 5532);
    c.iconGrid->hide(); // shown once icons are placed in it
    c.nextSetButton = Make<QPushButton>(&window, "cmdScan", 3360, 6480, 6132, 372);
    c.nextSetButton->setText(QStringLiteral("cmdScan"));

    // The grid shows its 13 columns whole; the right-hand column and the window grow by the same amount.
    const int extra = c.iconGrid->requiredWidth() - c.iconGrid->width();
    if (extra > 0) {
        for (QWidget* w : std::initializer_list<QWidget*>{c.currentPath, c.info, c.iconGrid, c.nextSetButton})
            w->resize(w->width() + extra, w->height());
        window.resize(window.width() + extra, window.height());
    }
}

void CreateMenus(QWidget& window, MainWindowControls& c) {
    auto menu = [&window](const char* name, const QString& heading) {
        return Named(new QMenu(heading, &window), name);
    };
    auto item = [](QMenu* m, const char* name, const QString& text) {
        return Named(m->addAction(text), name);
    };
    auto dash = [](QMenu* m, const char* name) { Named(m->addSeparator(), name); };

    c.saveMenu = menu("mnuSavePath", QStringLiteral("Αποθήκευση"));
    c.saveRecent = item(c.saveMenu, "mnuSavePathRecent", QStringLiteral("Πρόσφατες..."));
    c.saveInitial = item(c.saveMenu, "mnuSavePathInitial", QStringLiteral("Αρχική..."));
    dash(c.saveMenu, "mnuSavePathDash1");
    c.saveIcons = item(c.saveMenu, "mnuSavePathIcons", QStringLiteral("Εικονιδίων..."));
    dash(c.saveMenu, "mnuSavePathDash2");
    c.saveHelp = item(c.saveMenu, "mnuSavePathHelp", QStringLiteral("Βοήθεια"));
    dash(c.saveMenu, "mnuSavePathDash3");
    item(c.saveMenu, "mnuSavePathCancel", QStringLiteral("Άκυρο"));

    c.recallMenu = menu("mnuRecallPath", QStringLiteral("Ανάκληση"));
    c.recallRecent = item(c.recallMenu, "mnuRecallPathRecent", QStringLiteral("Πρόσφατες..."));
    c.recallInitial = item(c.recallMenu, "mnuRecallPathInitial", QStringLiteral("Αρχική"));
    dash(c.recallMenu, "mnuRecallPathDash1");
    c.recallHelp = item(c.recallMenu, "mnuRecallPathHelp", QStringLiteral("Βοήθεια"));
    dash(c.recallMenu, "mnuRecallPathDash2");
    item(c.recallMenu, "mnuRecallPathCancel", QStringLiteral("Άκυρο"));

    c.iconMenu = menu("mnuIcons", QStringLiteral("Εικονίδια"));
    c.iconSave = item(c.iconMenu, "mnuIconsSave", QStringLiteral("Αποθήκευση"));
    c.iconSaveAs = item(c.iconMenu, "mnuIconsSaveAs", QStringLiteral("Αποθήκευση ως..."));
    dash(c.iconMenu, "mnuIconsDash1");
    c.iconCopy = item(c.iconMenu, "mnuIconsCopy", QStringLiteral("Αντιγραφή"));
    dash(c.iconMenu, "mnuIconsDash2");
    c.iconHelp = item(c.iconMenu, "mnuIconsHelp", QStringLiteral("Βοήθεια"));
    dash(c.iconMenu, "mnuIconsDash3");
    item(c.iconMenu, "mnuIconsCancel", QStringLiteral("Άκυρο"));
    // The icon out of the window in the forms other programs take.
    dash(c.iconMenu, "mnuIconsDash4");
    c.iconSavePng = item(c.iconMenu, "mnuIconsSavePng", QStringLiteral("Αποθήκευση ως PNG..."));
    c.iconSaveIco = item(c.iconMenu, "mnuIconsSaveIco", QStringLiteral("Αποθήκευση ως ICO..."));
    c.iconSaveAll =
        item(c.iconMenu, "mnuIconsSaveAll", QStringLiteral("Αποθήκευση όλων των εικονιδίων της ομάδας..."));
    c.iconDetails = item(c.iconMenu, "mnuIconsDetails", QStringLiteral("Λεπτομέρειες..."));

    // Never part of a menu bar, so never visible as one.
    for (QMenu* m : {c.saveMenu, c.recallMenu, c.iconMenu})
        m->menuAction()->setVisible(false);
}

} // namespace

MainWindowControls CreateMainWindowControls(QWidget& window) {
    MainWindowControls c{};
    CreateFolderTree(window, c);
    CreateOptions(window, c);
    CreatePictureButtons(window, c);
    CreateLanguageButtonsAndNotice(window, c);
    CreateRightHandColumn(window, c);
    CreateMenus(window, c);
    return c;
}

EdgeAnchors AnchorToEdges(const MainWindowControls& c, const QSize& designed) {
    EdgeAnchors anchors(designed);
    anchors.add(c.folderTree, EdgeAnchors::GrowDown);
    for (QWidget* w : std::initializer_list<QWidget*>{
             c.caseSensitive, c.kindsFrame, c.levelsFrame, c.refreshButton, c.upOneLevelButton,
             c.savePathButton, c.browseButton, c.helpButton, c.languageButtons[0], c.languageButtons[1],
             c.recallPathButton, c.endButton, c.noticePicture, c.notice})
        anchors.add(w, EdgeAnchors::Bottom);
    anchors.add(c.currentPath, EdgeAnchors::GrowRight);
    anchors.add(c.info, EdgeAnchors::GrowRight);
    anchors.add(c.iconGrid, EdgeAnchors::GrowRight | EdgeAnchors::GrowDown);
    anchors.add(c.nextSetButton, EdgeAnchors::Bottom | EdgeAnchors::GrowRight);
    return anchors;
}

} // namespace vesmarin
