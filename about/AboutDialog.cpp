#include "about/AboutDialog.h"

#include "base/HelpFile.h"
#include "ui/CloseRefusal.h"
#include "ui/ErrorReport.h"
#include "ui/Layout.h"
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

namespace vesmarin {

namespace {

constexpr int kIconSize = 32;

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

} // namespace

AboutDialog::AboutDialog(Interaction& ui, const Language& language, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::WindowContextHelpButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui_(ui), language_(language), mainWindow_(mainWindow),
      lookups_(PosixSysInfoLookups([&ui](const QString& name) { return ui.findExecutable(name); },
                                   [](const QString& file) { return QFileInfo(file).isFile(); })) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(ProgramFont(7.8));
    createControls();
    layOutControls();
    RunUnderErrorTrap(ErrorReport(ui_, language_, this), Location::OpenAbout, [this] { load(); });
}

void AboutDialog::createControls() {
    icon_ = Named(new QLabel(this), "picIcon");
    icon_->setFixedSize(kIconSize, kIconSize);
    icon_->setPixmap(ProgramIcon(mainWindow_));

    title_ = Named(new QLabel(this), "lblTitle");
    QFont titleFont = ProgramFont(14);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    version_ = Named(new QLabel(this), "lblVersion");
    description_ = Named(new QLabel(this), "lblDescription");
    description_->setWordWrap(true);
    description_->setFixedWidth(TwipsToPixels(5520));
    disclaimer_ = Named(new QLabel(this), "lblDisclaimer");
    disclaimer_->setWordWrap(true);
    disclaimer_->setFixedWidth(TwipsToPixels(4560));
    // An etched line between the heading and the rest.
    line_ = Named(new QFrame(this), "Line1");
    line_->setFrameShape(QFrame::HLine);
    line_->setFrameShadow(QFrame::Sunken);

    okButton_ = Named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    okButton_->setDefault(true);
    sysInfoButton_ = Named(new QPushButton(this), "cmdSysInfo");
    const int buttonWidth = TwipsToPixels(2160);
    okButton_->setFixedWidth(buttonWidth);
    sysInfoButton_->setFixedWidth(buttonWidth);

    connect(okButton_, &QPushButton::clicked, this, &AboutDialog::accept);
    connect(sysInfoButton_, &QPushButton::clicked, this, &AboutDialog::startSysInfo);

    // Many window managers draw no question-mark button, so Shift+F1 enters What's This mode as well.
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });

    help_ = new WhatsThisHelp(ui_, language_, this);
    okButton_->setFocus();
}

void AboutDialog::layOutControls() {
    auto* heading = new QVBoxLayout;
    heading->setSpacing(4);
    heading->addWidget(title_);
    heading->addWidget(version_);
    heading->addSpacing(6);
    heading->addWidget(description_);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon_, 0, Qt::AlignTop);
    top->addLayout(heading);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(okButton_);
    buttons->addWidget(sysInfoButton_);
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(12);
    bottom->addWidget(disclaimer_, 0, Qt::AlignTop);
    bottom->addStretch();
    bottom->addLayout(buttons);

    auto* whole = new QVBoxLayout(this);
    whole->setContentsMargins(16, 16, 16, 12);
    whole->setSpacing(12);
    whole->addLayout(top);
    whole->addWidget(line_);
    whole->addLayout(bottom);
    // The dialog keeps the size its contents need: it cannot be resized.
    whole->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::load() {
    const bool greek = language_.greek;
    const AboutTexts texts = AboutTextsFor(greek);
    setWindowTitle(texts.windowTitle);
    title_->setText(texts.title);
    description_->setText(texts.description);
    disclaimer_->setText(texts.disclaimer);
    sysInfoButton_->setText(texts.sysInfoCaption);
    version_->setText(VersionLine(CurrentVersion(), greek));

    help_->addDialogTopics({{icon_, TopicAboutIcon},
                            {title_, TopicAboutTitle},
                            {version_, TopicAboutVersion},
                            {description_, TopicAboutDescription},
                            {disclaimer_, TopicAboutDisclaimer},
                            {okButton_, TopicAboutOk},
                            {sysInfoButton_, TopicAboutSysInfo}});

    // Centred on the main window where it stands.
    adjustSize();
    if (mainWindow_) {
        const QRect main = mainWindow_->isVisible() ? mainWindow_->frameGeometry() : mainWindow_->geometry();
        move(main.center() - QPoint(width() / 2, height() / 2));
    }
}

void AboutDialog::reject() {
    okButton_->click();
}

void AboutDialog::startSysInfo() {
    try {
        const std::optional<QString> program = SysInfoProgram(lookups_);
        if (program && ui_.startProgram(*program, {}))
            return;
    } catch (...) {
        // Any failure of the lookups or the start ends in the message below.
    }
    ShowMessage(ui_, this, SysInfoUnavailableText(language_.greek), SysInfoUnavailableTitle(language_.greek));
}

void AboutDialog::closeEvent(QCloseEvent* event) {
    if (!RefuseControlMenuClose(ui_, language_, this, event))
        QDialog::closeEvent(event);
}

void AboutDialog::showModal(Interaction& ui, const Language& language, QWidget* mainWindow) {
    {
        AboutDialog dialog(ui, language, mainWindow);
        dialog.exec();
    }
    if (mainWindow)
        mainWindow->activateWindow();
}

} // namespace vesmarin
