#include "app/MainWindow.h"

#include "about/AboutDialog.h"
#include "app/OptionsPanel.h"
#include "browse/IconBrowser.h"
#include "browse/IconGrid.h"
#include "language/LanguageSwitch.h"
#include "language/MainWindowHelp.h"
#include "paths/FolderTree.h"
#include "paths/FolderTreeWidget.h"
#include "paths/PathRecall.h"
#include "savedpaths/PathMenus.h"
#include "ui/Layout.h"
#include "ui/WhatsThisHelp.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace vesmarin {

MainWindow::MainWindow(Interaction& ui, QString programFolder, QWidget* parent)
    : QWidget(parent), ui_(ui), programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("frmMain"));
    setFont(ProgramFont(7.8));
    resize(TwipsToPixels(9612), TwipsToPixels(6972));
    controls_ = CreateMainWindowControls(*this);
    // The designed size is the smallest: the user may only make the window larger.
    setMinimumSize(size());
    anchors_ = AnchorToEdges(controls_, size());
    composeParts();
    connectControls();
}

MainWindow::~MainWindow() = default;

const Language& MainWindow::language() const {
    return languageSwitch_->language();
}

void MainWindow::composeParts() {
    const MainWindowControls& c = controls_;
    languageSwitch_ = std::make_unique<LanguageSwitch>(*this, *c.notice, c.languageButtons, ui_, files_);
    const Language& language = languageSwitch_->language();
    folderTree_ = std::make_unique<FolderTree>(*c.folderTree, folderSource_);
    pathRecall_ = std::make_unique<PathRecall>(*folderTree_, ui_, language, this);
    options_ = std::make_unique<OptionsPanel>(
        *this, OptionsPanel::Controls{c.caseSensitive, c.kinds, c.allLevelsButton, c.levels, c.levelsUpDown},
        ui_, language, files_);
    iconBrowser_ = std::make_unique<IconBrowser>(
        *this,
        IconBrowser::Controls{c.iconGrid, c.info, c.nextSetButton, c.iconMenu, c.iconSave, c.iconSaveAs,
                              c.iconCopy, c.iconSavePng, c.iconSaveIco, c.iconSaveAll, c.iconDetails},
        ui_, language, files_);
    pathMenus_ = std::make_unique<PathMenus>(
        *this,
        PathMenus::Controls{c.savePathButton, c.recallPathButton, c.saveMenu, c.saveRecent, c.saveInitial,
                            c.saveIcons, c.recallMenu, c.recallRecent, c.recallInitial},
        PathMenus::CurrentPath{[this] { return folderTree_->currentPath(); },
                               [this](const QString& path) { recall(path); }},
        ui_, language, files_);
    help_ = std::make_unique<MainWindowHelp>(*this, ui_, language);
}

void MainWindow::connectControls() {
    const MainWindowControls& c = controls_;
    connect(folderTree_.get(), &FolderTree::currentPathChanged, c.currentPath, &QLabel::setText);
    connect(c.refreshButton, &QPushButton::clicked, this, &MainWindow::refreshTree);
    connect(c.upOneLevelButton, &QPushButton::clicked, this, &MainWindow::upOneLevel);
    connect(c.browseButton, &QPushButton::clicked, this, &MainWindow::browse);
    connect(c.savePathButton, &QPushButton::clicked, this,
            [this] { pathMenus_->showSaveMenu(iconBrowser_->iconFolder()); });
    connect(c.recallPathButton, &QPushButton::clicked, pathMenus_.get(), &PathMenus::showRecallMenu);
    connect(c.saveIcons, &QAction::triggered, iconBrowser_.get(), &IconBrowser::chooseIconFolder);
    connect(c.endButton, &QPushButton::clicked, this, &MainWindow::end);
    connect(languageSwitch_.get(), &LanguageSwitch::switched, iconBrowser_.get(),
            &IconBrowser::applyLanguage);

    // Each Help item acts as a right-button release on the control that owns its menu.
    const std::pair<QAction*, QWidget*> helpItems[] = {
        {c.saveHelp, c.savePathButton}, {c.recallHelp, c.recallPathButton}, {c.iconHelp, c.iconGrid}};
    for (const auto& [item, owner] : helpItems)
        connect(item, &QAction::triggered, this, [this, owner = owner] { help_->showTopicOf(owner); });
    connect(c.helpButton, &QPushButton::clicked, this, [this] { help_->showHelpText(); });
    connect(&help_->whatsThis(), &WhatsThisHelp::noticePressed, this, &MainWindow::openAbout);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    anchors_.apply(size());
}

void MainWindow::placeCentredOnScreen() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (s)
        move(s->availableGeometry().center() - rect().center());
}

void MainWindow::showCentredOnScreen() {
    placeCentredOnScreen();
    show();
}

void MainWindow::showCurrentPath() {
    controls_.currentPath->setText(folderTree_->currentPath());
}

void MainWindow::recall(const QString& path) {
    pathRecall_->recall(path);
    showCurrentPath();
}

void MainWindow::refreshTree() {
    RunUnderErrorTrap(errors(), Location::Refresh, [this] {
        pathRecall_->refresh();
        showCurrentPath();
    });
}

void MainWindow::upOneLevel() {
    RunUnderErrorTrap(errors(), Location::UpOneLevel, [this] {
        pathRecall_->upOneLevel();
        showCurrentPath();
    });
}

void MainWindow::browse() {
    iconBrowser_->browse(folderTree_->currentPath(), options_->levels(), options_->patternList());
}

void MainWindow::end() {
    RunUnderErrorTrap(errors(), Location::End, [this] {
        // The recent-paths file is opened and closed within each of its operations, so no file is left
        // open here. An empty or unreadable levels box stops the ending with the error report.
        options_->storeLevels();
        close();
    });
}

void MainWindow::openAbout() {
    AboutDialog::showModal(ui_, language(), this);
}

} // namespace vesmarin
