#include "about/AboutDialog.h"

#include "base/HelpFile.h"
#include "ui/WhatsThisHelp.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace vesmarin::about {

namespace {

constexpr int kIconSize = 32;

template <class W> W* Named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// The program's icon: the main window's, or a small drawing of an icon grid where it has none.
QPixmap ProgramIcon(const QWidget* mainWindow) {
    const QIcon icon = mainWindow ? mainWindow->windowIcon() : QIcon();
    if (!icon.isNull())
        return icon.pixmap(kIconSize, kIconSize);
    QPixmap picture(kIconSize, kIconSize);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(255, 255, 192));
    p.drawRoundedRect(QRectF(1.5, 1.5, kIconSize - 3, kIconSize - 3), 4, 4);
    const QColor cells[] = {QColor(192, 0, 0), QColor(0, 128, 0), QColor(0, 0, 192), QColor(192, 128, 0)};
    for (int i = 0; i < 4; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(cells[i]);
        p.drawRect(QRectF(6 + (i % 2) * 11, 6 + (i / 2) * 11, 9, 9));
    }
    return picture;
}

QFrame* LinePart(QWidget* parent, const char* name, const QColor& colour) {
    auto* line = Named(new QFrame(parent), name);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, colour);
    line->setPalette(p);
    return line;
}

} // namespace

frmAbout::frmAbout(Interaction& ui, const SharedState& state, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::WindowContextHelpButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui_(ui), state_(state), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(ProgramFont(7.8));
    lookups = PosixSysInfoLookups([&ui](const QString& name) { return ui.findExecutable(name); },
                                  [](const QString& file) { return QFileInfo(file).isFile(); });
    CreateControls();
    Load();
}

void frmAbout::CreateControls() {
    picIcon = Named(new QLabel(this), "picIcon");
    picIcon->setFixedSize(kIconSize, kIconSize);
    picIcon->setPixmap(ProgramIcon(mainWindow_));

    lblTitle = Named(new QLabel(this), "lblTitle");
    QFont titleFont = ProgramFont(14);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = Named(new QLabel(this), "lblVersion");
    lblDescription = Named(new QLabel(this), "lblDescription");
    lblDescription->setWordWrap(true);
    lblDescription->setFixedWidth(TwipsToPixels(5520));
    lblDisclaimer = Named(new QLabel(this), "lblDisclaimer");
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setFixedWidth(TwipsToPixels(4560));
    Line1[1] = LinePart(this, "Line1", QColor(128, 128, 128));
    Line1[0] = LinePart(this, "Line1", QColor(255, 255, 255));
    Line1[0]->setProperty("Index", 0);
    Line1[1]->setProperty("Index", 1);

    cmdOK = Named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdOK->setDefault(true);
    cmdSysInfo = Named(new QPushButton(this), "cmdSysInfo");
    const int buttonWidth = TwipsToPixels(2160);
    cmdOK->setFixedWidth(buttonWidth);
    cmdSysInfo->setFixedWidth(buttonWidth);

    auto* heading = new QVBoxLayout;
    heading->setSpacing(4);
    heading->addWidget(lblTitle);
    heading->addWidget(lblVersion);
    heading->addSpacing(6);
    heading->addWidget(lblDescription);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(heading);

    auto* line = new QVBoxLayout;
    line->setSpacing(0);
    line->addWidget(Line1[1]);
    line->addWidget(Line1[0]);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(12);
    bottom->addWidget(lblDisclaimer, 0, Qt::AlignTop);
    bottom->addStretch();
    bottom->addLayout(buttons);

    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(16, 16, 16, 12);
    whole->setSpacing(12);
    whole->addLayout(top);
    whole->addLayout(line);
    whole->addLayout(bottom);
    // The dialog keeps the size its contents need: it cannot be resized.
    whole->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

    // Many window managers draw no question-mark button, so Shift+F1 enters What's This mode as well.
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });

    help = new help::WhatsThisHelp(ui_, state_, this);
    cmdOK->setFocus();
}

void frmAbout::Load() {
    RunUnderErrorTrap(ui_, state_, this, Location::OpenAbout, [this] { RunLoad(); });
}

void frmAbout::RunLoad() {
    const bool greek = state_.gLanguage;
    const AboutTexts texts = AboutTextsFor(greek);
    setWindowTitle(texts.windowTitle);
    lblTitle->setText(texts.title);
    lblDescription->setText(texts.description);
    lblDisclaimer->setText(texts.disclaimer);
    cmdSysInfo->setText(texts.sysInfoCaption);
    lblVersion->setText(VersionLine(CurrentVersion(), greek));

    help::AddDialogTopics(*help, state_,
                          {{picIcon, TopicAboutIcon},
                           {lblTitle, TopicAboutTitle},
                           {lblVersion, TopicAboutVersion},
                           {lblDescription, TopicAboutDescription},
                           {lblDisclaimer, TopicAboutDisclaimer},
                           {cmdOK, TopicAboutOk},
                           {cmdSysInfo, TopicAboutSysInfo}});

    // Centred on the main window where it stands.
    adjustSize();
    if (mainWindow_) {
        const QRect main = mainWindow_->isVisible() ? mainWindow_->frameGeometry() : mainWindow_->geometry();
        move(main.center() - QPoint(width() / 2, height() / 2));
    }
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::reject() {
    cmdOK->click();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    try {
        const std::optional<QString> program = SysInfoProgram(lookups);
        if (program && ui_.startProgram(*program, {}))
            return;
    } catch (...) {
        // Any failure of the lookups or the start ends in the message below.
    }
    ShowMessage(ui_, this, SysInfoUnavailableText(state_.gLanguage),
                SysInfoUnavailableTitle(state_.gLanguage));
}

void frmAbout::closeEvent(QCloseEvent* event) {
    if (!RefuseControlMenuClose(ui_, state_, this, event))
        QDialog::closeEvent(event);
}

void ShowAbout(Interaction& ui, const SharedState& state, QWidget* mainWindow) {
    {
        frmAbout dialog(ui, state, mainWindow);
        dialog.exec();
    }
    if (mainWindow)
        mainWindow->activateWindow();
}

} // namespace vesmarin::about
