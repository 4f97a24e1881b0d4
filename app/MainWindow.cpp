#include "app/MainWindow.h"

#include "app/Pictures.h"
#include "base/NumberText.h"
#include "base/Settings.h"
#include "browse/IconBrowser.h"
#include "browse/IconGrid.h"
#include "language/LanguageSwitch.h"
#include "paths/FolderTreeWidget.h"
#include "paths/PathRecall.h"
#include "platform/ControlMenu.h"
#include "savedpaths/PathMenus.h"
#include "ui/UpDown.h"
#include "ui/WhatsThisHelp.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTreeWidget>

namespace vesmarin {

namespace {

// POSIX file systems distinguish letter case, so names that differ only in case are different unless the
// user says otherwise; on Windows they are the same.
#ifdef Q_OS_WIN
constexpr int kCaseSensitiveDefault = 0;
#else
constexpr int kCaseSensitiveDefault = 1;
#endif

constexpr int kMaxLevels = 9999;

void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

template <class W> W* Named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QString Separator() {
    return QString(QDir::separator());
}

// The user's home folder stands in for the default folder: in display form (no trailing separator
// unless it is the root) and as a folder to save into (always ending with the separator).
QString HomeDisplayForm() {
    return QDir::toNativeSeparators(QDir::homePath());
}

QString HomeWithSeparator() {
    const QString home = HomeDisplayForm();
    return home.endsWith(Separator()) ? home : home + Separator();
}

// The character code a key press types, as the levels box filters it; -1 for keys that type nothing
// (moves, Delete, Tab) and for shortcuts such as Ctrl+V, which the box handles itself.
int TypedCharacter(const QKeyEvent& k) {
    if (k.modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))
        return -1;
    switch (k.key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    return k.text().isEmpty() ? -1 : k.text().front().unicode();
}

} // namespace

frmMain::frmMain(Interaction& interaction, QString programFolder, QWidget* parent)
    : QWidget(parent), ui(interaction), programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("frmMain"));
    setFont(ProgramFont(7.8));
    resize(TwipsToPixels(9612), TwipsToPixels(6972));
    CreateControls();
    CreateMenus();
    savedpaths::ConnectPathMenus(*this);
    browser = new IconBrowser(*this);
    help::InstallMainWindowHelp(*this);
}

void frmMain::CreateControls() {
    tvwControl = Named(new FolderTreeWidget(this), "tvwControl");
    tvwControl->setHeaderHidden(true);
    Place(tvwControl, 120, 120, 3132, 3732);

    chkCaseSensitive = Named(new QCheckBox(this), "chkCaseSensitive");
    Place(chkCaseSensitive, 120, 3960, 3132, 252);
    {
        QPalette p = chkCaseSensitive->palette();
        p.setColor(QPalette::WindowText, QColor(255, 0, 0));
        p.setColor(QPalette::ButtonText, QColor(255, 0, 0));
        chkCaseSensitive->setPalette(p);
    }

    // The frames are small: their captions sit on the frame line, leaving the room inside to the controls.
    const QString frameStyle =
        QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 6px; }"
                       "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left; left: "
                       "6px; padding: 0 1px; }");
    fraWhatToBrowse = Named(new QGroupBox(QStringLiteral("fraWhatToBrowse"), this), "fraWhatToBrowse");
    fraWhatToBrowse->setStyleSheet(frameStyle);
    Place(fraWhatToBrowse, 120, 4320, 1932, 612);
    chkWhatToBrowse[0] = Named(new QCheckBox(QStringLiteral("EXE"), fraWhatToBrowse), "chkWhatToBrowse");
    chkWhatToBrowse[1] = Named(new QCheckBox(QStringLiteral("DLL"), fraWhatToBrowse), "chkWhatToBrowse");
    chkWhatToBrowse[0]->setProperty("Index", 0);
    chkWhatToBrowse[1]->setProperty("Index", 1);
    Place(chkWhatToBrowse[0], 240, 240, 732, 252);
    Place(chkWhatToBrowse[1], 1080, 240, 732, 252);

    fraLevels = Named(new QGroupBox(QStringLiteral("fraLevels"), this), "fraLevels");
    fraLevels->setStyleSheet(frameStyle);
    Place(fraLevels, 120, 5040, 1932, 612);
    cmdAll = Named(new QPushButton(QStringLiteral("cmdAll"), fraLevels), "cmdAll");
    Place(cmdAll, 120, 240, 612, 252);
    txtLevels = Named(new QLineEdit(fraLevels), "txtLevels");
    Place(txtLevels, 840, 240, 732, 288);
    txtLevels->setMaxLength(4);
    txtLevels->setAlignment(Qt::AlignCenter);
    txtLevels->installEventFilter(this);
    updLevels = Named(new UpDown(fraLevels, txtLevels, 0, kMaxLevels), "updLevels");
    Place(updLevels, 1560, 240, 216, 288);

    auto pictureButton = [this](const char* name, pictures::Button picture, int left, int top) {
        auto* b = Named(new QPushButton(this), name);
        Place(b, left, top, 492, 492);
        b->setIcon(pictures::ButtonIcon(picture, style()));
        b->setIconSize(QSize(22, 22));
        return b;
    };
    cmdRefresh = pictureButton("cmdRefresh", pictures::Button::Refresh, 2160, 4440);
    cmdUpOneLevel = pictureButton("cmdUpOneLevel", pictures::Button::UpOneLevel, 2760, 4440);
    cmdSavePath = pictureButton("cmdSavePath", pictures::Button::SavePath, 2160, 5160);
    cmdBrowse = pictureButton("cmdBrowse", pictures::Button::Browse, 2760, 5160);
    cmdHelp = pictureButton("cmdHelp", pictures::Button::Help, 120, 5760);
    cmdRecallPath = pictureButton("cmdRecallPath", pictures::Button::RecallPath, 2160, 5760);
    cmdEnd = pictureButton("cmdEnd", pictures::Button::End, 2760, 5760);

    const QSize flagSize(24, 16);
    for (int i = 0; i < 2; ++i) {
        auto* b = Named(new QPushButton(this), "cmdLanguage");
        b->setProperty("Index", i);
        Place(b, i == 0 ? 840 : 1440, 5760, 492, 492);
        b->setIconSize(flagSize);
        cmdLanguage[static_cast<std::size_t>(i)] = b;
    }
    // Each tip names both languages, so it reads the same whichever is in force.
    cmdLanguage[0]->setIcon(pictures::GreekFlag(flagSize.width(), flagSize.height()));
    cmdLanguage[0]->setToolTip(QStringLiteral("Ελληνικά / Greek"));
    cmdLanguage[1]->setIcon(pictures::EnglishFlag(flagSize.width(), flagSize.height()));
    cmdLanguage[1]->setToolTip(QStringLiteral("English / Αγγλικά"));

    picCopyright = Named(new QLabel(this), "picCopyright");
    Place(picCopyright, 120, 6360, 432, 432);
    picCopyright->setPixmap(pictures::Notice(picCopyright->width()));
    picCopyright->setToolTip(language::PictureName());
    lblCopyright = Named(new QLabel(QStringLiteral("lblCopyright"), this), "lblCopyright");
    Place(lblCopyright, 600, 6360, 2652, 492);
    lblCopyright->setWordWrap(true);
    lblCopyright->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    lblCurrentPath = Named(new QLabel(QStringLiteral("lblCurrentPath"), this), "lblCurrentPath");
    Place(lblCurrentPath, 3360, 120, 6132, 252);
    lblInfo = Named(new QLabel(QStringLiteral("lblInfo"), this), "lblInfo");
    Place(lblInfo, 3360, 480, 6132, 252);
    // Both show folder and file names, which may look like markup ("<b>old"): never read them as such.
    lblCurrentPath->setTextFormat(Qt::PlainText);
    lblInfo->setTextFormat(Qt::PlainText);

    grdControl = Named(new IconGrid(this), "grdControl");
    Place(grdControl, 3360, 840, 6132, 5532);
    grdControl->hide(); // shown once icons are placed in it

    cmdScan = Named(new QPushButton(QStringLiteral("cmdScan"), this), "cmdScan");
    Place(cmdScan, 3360, 6480, 6132, 372);

    connect(txtLevels, &QLineEdit::textChanged, this, [this] { txtLevels_Change(); });
    connect(cmdAll, &QPushButton::clicked, this, [this] { cmdAll_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(chkWhatToBrowse[static_cast<std::size_t>(i)], &QCheckBox::toggled, this,
                [this, i] { chkWhatToBrowse_Click(i); });
        connect(cmdLanguage[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdLanguage_Click(i); });
    }
    connect(chkCaseSensitive, &QCheckBox::toggled, this, [this] { chkCaseSensitive_Click(); });
    connect(cmdEnd, &QPushButton::clicked, this, [this] { cmdEnd_Click(); });

    treeView = std::make_unique<basTreeViewManager>(*tvwControl, filFile, lstControl, folderSource, state);
    // The tree's own changes (selecting a path, opening the nodes above it) are not the user's.
    connect(tvwControl, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* node) {
        if (!treeView->IsBusy())
            tvwControl_Expand(node);
    });
    connect(tvwControl, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        if (node && !treeView->IsBusy())
            tvwControl_NodeClick(node);
    });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(cmdUpOneLevel, &QPushButton::clicked, this, [this] { cmdUpOneLevel_Click(); });
}

void frmMain::CreateMenus() {
    // Until the language is first applied the items hold their Greek texts.
    auto menu = [this](const char* name, const QString& heading) {
        return Named(new QMenu(heading, this), name);
    };
    auto item = [](QMenu* m, const char* name, const QString& text) {
        return Named(m->addAction(text), name);
    };
    auto dash = [](QMenu* m, const char* name) { return Named(m->addSeparator(), name); };

    mnuSavePath = menu("mnuSavePath", QStringLiteral("Αποθήκευση"));
    mnuSavePathRecent = item(mnuSavePath, "mnuSavePathRecent", QStringLiteral("Πρόσφατες..."));
    mnuSavePathInitial = item(mnuSavePath, "mnuSavePathInitial", QStringLiteral("Αρχική..."));
    mnuSavePathDash1 = dash(mnuSavePath, "mnuSavePathDash1");
    mnuSavePathIcons = item(mnuSavePath, "mnuSavePathIcons", QStringLiteral("Εικονιδίων..."));
    mnuSavePathDash2 = dash(mnuSavePath, "mnuSavePathDash2");
    mnuSavePathHelp = item(mnuSavePath, "mnuSavePathHelp", QStringLiteral("Βοήθεια"));
    mnuSavePathDash3 = dash(mnuSavePath, "mnuSavePathDash3");
    mnuSavePathCancel = item(mnuSavePath, "mnuSavePathCancel", QStringLiteral("Άκυρο"));

    mnuRecallPath = menu("mnuRecallPath", QStringLiteral("Ανάκληση"));
    mnuRecallPathRecent = item(mnuRecallPath, "mnuRecallPathRecent", QStringLiteral("Πρόσφατες..."));
    mnuRecallPathInitial = item(mnuRecallPath, "mnuRecallPathInitial", QStringLiteral("Αρχική"));
    mnuRecallPathDash1 = dash(mnuRecallPath, "mnuRecallPathDash1");
    mnuRecallPathHelp = item(mnuRecallPath, "mnuRecallPathHelp", QStringLiteral("Βοήθεια"));
    mnuRecallPathDash2 = dash(mnuRecallPath, "mnuRecallPathDash2");
    mnuRecallPathCancel = item(mnuRecallPath, "mnuRecallPathCancel", QStringLiteral("Άκυρο"));

    mnuIcons = menu("mnuIcons", QStringLiteral("Εικονίδια"));
    mnuIconsSave = item(mnuIcons, "mnuIconsSave", QStringLiteral("Αποθήκευση"));
    mnuIconsSaveAs = item(mnuIcons, "mnuIconsSaveAs", QStringLiteral("Αποθήκευση ως..."));
    mnuIconsDash1 = dash(mnuIcons, "mnuIconsDash1");
    mnuIconsCopy = item(mnuIcons, "mnuIconsCopy", QStringLiteral("Αντιγραφή"));
    mnuIconsDash2 = dash(mnuIcons, "mnuIconsDash2");
    mnuIconsHelp = item(mnuIcons, "mnuIconsHelp", QStringLiteral("Βοήθεια"));
    mnuIconsDash3 = dash(mnuIcons, "mnuIconsDash3");
    mnuIconsCancel = item(mnuIcons, "mnuIconsCancel", QStringLiteral("Άκυρο"));

    chkCaseSensitive->setText(QStringLiteral("Διαχωρισμός πεζών-κεφαλαίων"));
}

void frmMain::Load(const QString& startFolder) {
    startFolder_ = startFolder;
    RunUnderErrorTrap(ui, state, this, Location::StartUp, [this] { RunLoad(); });
}

void frmMain::RunLoad() {
    state.gLanguage = false;

    // Beside the program wherever it can be written; otherwise the user's configuration folder. Found
    // first, since the running program is one per folder of settings: copies of the program that share
    // a folder (all those whose own folders cannot be written) share its files.
    const ProgramFiles files = LocateProgramFiles(programFolder_, UserConfigFolder(), canCreateFileIn);
    if (ui.anotherInstanceRunning(files.settingsFolder)) {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("...duplicate instance."));
        ShowMessage(
            ui, nullptr,
            QStringLiteral(
                "The application is already active and cannot have more than one instances at a time."),
            state.gTitle, MsgIcon::Critical);
        ui.endProgramNow();
        return;
    }

    state.gIniFile = files.iniFile;
    state.gHelpFileGreek = files.helpFileGreek;
    state.gHelpFileEnglish = files.helpFileEnglish;
    state.gSavedPathsFile = files.savedPathsFile;

    state.gBackColor = 0xFFFFC0;
    SetTag(chkWhatToBrowse[0], ExePatterns);
    SetTag(chkWhatToBrowse[1], DllPatterns);

    lblInfo->clear();
    cmdScan->setEnabled(false);
    mnuSavePath->menuAction()->setVisible(false);
    mnuRecallPath->menuAction()->setVisible(false);
    mnuIcons->menuAction()->setVisible(false);

    const QString& ini = state.gIniFile;

    // The language comes first, so that every later message is in it.
    const double language = settings::ReadNumber(ini, settings::General, settings::Language, 0);
    state.gLanguage = language == 1;
    cmdLanguage[state.gLanguage ? 0 : 1]->click();

    const settings::PathSetting initialPath =
        settings::ReadPath(ini, settings::General, settings::InitialPath);
    state.gInitialPath = initialPath.path;

    const double levels = settings::ReadNumber(ini, settings::Options, settings::Levels, 0);
    state.gLevels = 0;
    if (levels >= 0 && levels <= kMaxLevels)
        state.gLevels = std::get<std::int16_t>(RoundToInteger16(levels));
    updLevels->resize(updLevels->width(), txtLevels->height());
    txtLevels->setText(QString::number(state.gLevels));
    cmdAll->resize(cmdAll->width(), txtLevels->height());

    const double caseSensitive =
        settings::ReadNumber(ini, settings::Options, settings::CaseSensitive, kCaseSensitiveDefault);
    state.gCaseSensitive = caseSensitive == 1;
    // Hidden, the box's handler stays silent: setting it here is not the user's change.
    chkCaseSensitive->setVisible(false);
    chkCaseSensitive->setChecked(false);
    chkCaseSensitive->setChecked(state.gCaseSensitive);
    chkCaseSensitive->setVisible(true);

    const double kinds = settings::ReadNumber(ini, settings::Options, settings::WhatToBrowse, 3);
    if (kinds == 1) {
        chkWhatToBrowse[0]->setChecked(true);
        chkWhatToBrowse[1]->setChecked(false);
    } else if (kinds == 2) {
        chkWhatToBrowse[0]->setChecked(false);
        chkWhatToBrowse[1]->setChecked(true);
    } else {
        chkWhatToBrowse[0]->setChecked(true);
        chkWhatToBrowse[1]->setChecked(true);
    }

    const settings::PathSetting iconSavePath =
        settings::ReadPath(ini, settings::Options, settings::IconSavePath);
    state.gIconSavePath = iconSavePath.path;
    if (state.gIconSavePath.isEmpty())
        state.gIconSavePath = HomeWithSeparator();
    // A stored folder too long to open is refused, not cut to another folder; the file keeps it.
    if (iconSavePath.tooLong)
        ShowMessage(
            ui, this,
            Pick(state,
                 QStringLiteral("The folder for saving icons that has been set is longer than the %1 "
                                "bytes a path may have on this computer, so it cannot be used. Icons "
                                "will be saved in '%2' until you select another folder."),
                 QStringLiteral("Ο φάκελλος αποθηκεύσεως των εικονιδίων ο οποίος έχει ορισθεί, "
                                "υπερβαίνει τα %1 byte που επιτρέπονται για μια διαδρομή σε αυτόν τον "
                                "υπολογιστή και επομένως δεν μπορεί να χρησιμοποιηθεί. Τα εικονίδια θα "
                                "αποθηκεύονται στο φάκελλο «%2», μέχρι να επιλέξετε κάποιον άλλο "
                                "φάκελλο."))
                .arg(settings::PathLimit)
                .arg(state.gIconSavePath),
            state.gTitle, MsgIcon::Critical);

    if (initialPath.tooLong) {
        state.gInitialPath = HomeDisplayForm(); // for this run only; the settings file keeps its text
        ShowMessage(
            ui, this,
            Pick(state,
                 QStringLiteral("The initial path that has been set is longer than the %1 bytes a path "
                                "may have on this computer, so it cannot be recalled. '%2' will be "
                                "used as the initial path instead."),
                 QStringLiteral("Η αρχική διαδρομή η οποία έχει ορισθεί, υπερβαίνει τα %1 byte που "
                                "επιτρέπονται για μια διαδρομή σε αυτόν τον υπολογιστή και επομένως "
                                "δεν μπορεί να ανακληθεί. Αντ' αυτής, ως αρχική διαδρομή θα "
                                "χρησιμοποιηθεί η «%2»."))
                .arg(settings::PathLimit)
                .arg(state.gInitialPath),
            Pick(state, QStringLiteral("Recall initial path"), QStringLiteral("Ανάκληση αρχικής διαδρομής")),
            MsgIcon::Critical);
    } else if (state.gInitialPath.isEmpty()) {
        const QString home = HomeDisplayForm();
        MessageRequest r;
        r.text =
            Pick(state,
                 QStringLiteral("'%1'will be used as the default initial path, since an initial path has not "
                                "yet been set."),
                 QStringLiteral("Δεν έχει ορισθεί κάποια αρχική διαδρομή και έτσι, ως αρχική διαδρομή, θα "
                                "χρησιμοποιηθεί η «%1»."))
                .arg(home);
        r.title =
            Pick(state, QStringLiteral("Recall initial path"), QStringLiteral("Ανάκληση αρχικής διαδρομής"));
        r.icon = MsgIcon::Information;
        r.buttons = MsgButtons::Ok;
        r.defaultButton = MsgButton::Ok;
        state.gInitialPath = home; // for this run only; the settings file keeps no initial path
        // Started on a folder, the window does not open at the initial path: there is nothing to announce.
        if (startFolder_.isEmpty())
            ui.messageBox(this, r);
    }

    RecallInitialPath();

    std::int32_t restore = SC_RESTORE_COMMAND;
    DisableControlMenuItem(restore, this);

    lblCopyright->resize(lblCopyright->width(), picCopyright->height());
}

void frmMain::RecallInitialPath() {
    lstControl.clear();
    RecallPath(startFolder_.isEmpty() ? state.gInitialPath : startFolder_, *treeView, ui, state, this);
    lblCurrentPath->setText(treeView->GetCurrentPath());
    treeView->SetTreeBackColor(state.gBackColor);
}

void frmMain::tvwControl_Expand(QTreeWidgetItem* node) {
    treeView->ExpandNode(node);
    lblCurrentPath->setText(treeView->GetCurrentPath());
}

void frmMain::tvwControl_NodeClick(QTreeWidgetItem* node) {
    treeView->ActivateNode(node);
    lblCurrentPath->setText(treeView->GetCurrentPath());
}

void frmMain::cmdRefresh_Click() {
    RunUnderErrorTrap(ui, state, this, Location::Refresh, [this] {
        RefreshTree(*treeView, ui, state, this);
        lblCurrentPath->setText(treeView->GetCurrentPath());
    });
}

void frmMain::cmdUpOneLevel_Click() {
    RunUnderErrorTrap(ui, state, this, Location::UpOneLevel, [this] {
        UpOneLevel(*treeView, ui, state, this);
        lblCurrentPath->setText(treeView->GetCurrentPath());
    });
}

void frmMain::cmdBrowse_Click() {
    browser->cmdBrowse_Click();
}

void frmMain::cmdScan_Click() {
    browser->cmdScan_Click();
}

void frmMain::PlaceCentredOnScreen() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (s)
        move(s->availableGeometry().center() - rect().center());
}

void frmMain::ShowCentredOnScreen() {
    PlaceCentredOnScreen();
    show();
}

void frmMain::cmdEnd_Click() {
    RunUnderErrorTrap(ui, state, this, Location::End, [this] {
        // The saved-paths file is opened and closed within each of its operations, so no file is left
        // open here. An empty or unreadable levels box stops the ending with the error report.
        state.gLevels = ToInteger16OrRaise(txtLevels->text());
        settings::Write(state.gIniFile, settings::Options, settings::Levels, state.gLevels);
        close();
    });
}

void frmMain::cmdAll_Click() {
    txtLevels->setText(QStringLiteral("0"));
}

void frmMain::txtLevels_Change() {
    if (txtLevels->text().isEmpty())
        return; // an emptied box keeps the last number
    int number = -1;
    const auto converted = ToInteger16(txtLevels->text());
    if (const auto* n = std::get_if<std::int16_t>(&converted))
        number = *n;
    if (number < 0 || number > kMaxLevels)
        txtLevels->setText(QStringLiteral("0")); // runs this handler again for the new text
    // The text is now a number from 0 to 9999, so the conversion cannot fail.
    const auto levels = RoundToInteger16(NumberPrefix(txtLevels->text()));
    if (const auto* n = std::get_if<std::int16_t>(&levels))
        state.gLevels = *n;
}

void frmMain::txtLevels_GotFocus() {
    txtLevels->setSelection(0, static_cast<int>(txtLevels->text().size()));
}

int frmMain::txtLevels_KeyPress(int keyAscii) {
    if (keyAscii == 8 || (keyAscii >= '0' && keyAscii <= '9'))
        return keyAscii;
    ui.beep();
    return 0;
}

void frmMain::chkWhatToBrowse_Click(int) {
    RunUnderErrorTrap(ui, state, this, Location::ChooseKindsOfFile, [this] {
        const bool exe = chkWhatToBrowse[0]->isChecked();
        const bool dll = chkWhatToBrowse[1]->isChecked();
        // The only ticked box is disabled, so at least one kind always stays ticked.
        if (dll && !exe)
            chkWhatToBrowse[1]->setEnabled(false);
        if (exe && !dll)
            chkWhatToBrowse[0]->setEnabled(false);
        if (exe && dll) {
            chkWhatToBrowse[0]->setEnabled(true);
            chkWhatToBrowse[1]->setEnabled(true);
        }
        int kind = 0;
        if (exe) {
            SetTag(fraWhatToBrowse, Tag(chkWhatToBrowse[0]));
            kind = 1;
        }
        if (dll) {
            SetTag(fraWhatToBrowse, Tag(chkWhatToBrowse[1]));
            kind = 2;
        }
        if (exe && dll) {
            SetTag(fraWhatToBrowse, Tag(chkWhatToBrowse[0]) + u';' + Tag(chkWhatToBrowse[1]));
            kind = 3;
        }
        if (kind != 0)
            settings::Write(state.gIniFile, settings::Options, settings::WhatToBrowse, kind);
    });
}

void frmMain::chkCaseSensitive_Click() {
    RunUnderErrorTrap(ui, state, this, Location::ChangeCaseRule, [this] {
        if (chkCaseSensitive->isHidden())
            return; // start-up sets the box from the settings file
        const bool on = chkCaseSensitive->isChecked();
        MessageRequest r;
        r.title = Pick(state, QStringLiteral("Distinguish between upper-lower case"),
                       QStringLiteral("Διαχωρισμός πεζών-κεφαλαίων"));
        if (on)
            r.text = Pick(
                state,
                QStringLiteral("You decided to instruct this application to distinguish between upper and "
                               "lower case letters "
                               "in item names.\r\n\r\nMake CERTAIN that the operating system which hosts "
                               "this application, "
                               "ALSO distinguishes between upper and lower case letters in item "
                               "names.\r\n\r\nCAUTION: You must "
                               "shut down and restart this application for this change to take effect."),
                QStringLiteral(
                    "Αποφασίσατε να ενεργοποιήσετε το διαχωρισμό ανάμεσα στα πεζά και κεφαλαία γράμματα των "
                    "ονομάτων των στοιχείων.\r\n\r\nΒΕΒΑΙΩΘΕΙΤΕ ότι ΚΑΙ το λειτουργικό σύστημα στο οποίο "
                    "εκτελείται αυτή η εφαρμογή, υποστηρίζει το διαχωρισμό ανάμεσα στα πεζά και κεφαλαία "
                    "γράμματα "
                    "των ονομάτων των στοιχείων.\r\n\r\nΠΡΟΣΟΧΗ: Πρέπει να κλείσετε και να επανεκκινήσετε "
                    "αυτή την "
                    "εφαρμογή για να ισχύσει η νέα ρύθμιση."));
        else
            r.text = Pick(
                state,
                // The first "ΝΟΤ" is spelt with Greek capitals, as the message has always read.
                QStringLiteral(
                    "You decided to instruct this application ΝΟΤ to distinguish between upper and lower "
                    "case "
                    "letters in item names.\r\n\r\nMake certain that the operating system which hosts this "
                    "application, ALSO does NOT distinguish between upper and lower case letters in item "
                    "names.\r\n\r\nCAUTION: You must shut down and restart this application for this change "
                    "to take "
                    "effect."),
                QStringLiteral("Αποφασίσατε να ακυρώσετε το διαχωρισμό ανάμεσα στα πεζά και κεφαλαία "
                               "γράμματα των ονομάτων "
                               "των στοιχείων.\r\n\r\nΒεβαιωθείτε ότι ΚΑΙ το λειτουργικό σύστημα στο οποίο "
                               "εκτελείται αυτή η "
                               "εφαρμογή, ΔΕΝ υποστηρίζει το διαχωρισμό ανάμεσα στα πεζά και κεφαλαία "
                               "γράμματα των ονομάτων "
                               "των στοιχείων.\r\n\r\nΠΡΟΣΟΧΗ: Πρέπει να κλείσετε και να επανεκκινήσετε αυτή "
                               "την εφαρμογή για "
                               "να ισχύσει η νέα ρύθμιση."));
        r.icon = MsgIcon::Information;
        r.buttons = MsgButtons::Ok;
        r.defaultButton = MsgButton::Ok;
        ui.messageBox(this, r);
        // Only the file changes: the running program keeps the case rule it started with.
        settings::Write(state.gIniFile, settings::Options, settings::CaseSensitive, on ? 1 : 0);
    });
}

void frmMain::cmdLanguage_Click(int index) {
    language::cmdLanguage_Click(*this, index);
}

QString frmMain::ActivePatternList() const {
    return Tag(fraWhatToBrowse);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtLevels) {
        if (event->type() == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(event);
            // The arrow keys work the attached up-down, as its arrows do.
            if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) {
                updLevels->StepBy(k->key() == Qt::Key_Up ? 1 : -1);
                return true;
            }
            const int typed = TypedCharacter(*k);
            if (typed >= 0 && txtLevels_KeyPress(typed) == 0)
                return true;
        } else if (event->type() == QEvent::FocusIn) {
            txtLevels_GotFocus();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vesmarin
