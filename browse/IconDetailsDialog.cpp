#include "browse/IconDetailsDialog.h"

#include "base/HelpFile.h"
#include "ui/Layout.h"
#include "ui/WhatsThisHelp.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <algorithm>

namespace vesmarin {

namespace {

// The image on a checkerboard of light and lighter grey, so that its transparent parts show as such;
// reduced to kLargestShown when it is larger.
QPixmap OnCheckerboard(const QImage& image, int largest) {
    QImage shown = image;
    if (shown.width() > largest || shown.height() > largest)
        shown = shown.scaled(largest, largest, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap board(shown.size());
    QPainter p(&board);
    constexpr int kSquare = 8;
    for (int y = 0; y < shown.height(); y += kSquare)
        for (int x = 0; x < shown.width(); x += kSquare)
            p.fillRect(x, y, kSquare, kSquare,
                       ((x + y) / kSquare) % 2 == 0 ? QColor(0xFF, 0xFF, 0xFF) : QColor(0xCC, 0xCC, 0xCC));
    p.drawImage(0, 0, shown);
    return board;
}

QString PngName(const IconSource& icon, const iconreader::ImageInfo& image) {
    // As vesmarin-icons export --all-sizes names it.
    return DisplayPath(icon.fileName() + "-" + std::to_string(icon.index) + "-" +
                       std::to_string(image.width) + "x" + std::to_string(image.height) + "-" +
                       std::to_string(image.bitCount) + ".png");
}

} // namespace

IconDetailsDialog::IconDetailsDialog(Interaction& ui, const Language& language, QWidget* mainWindow,
                                     std::function<QString()> iconFolder)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                              Qt::WindowContextHelpButtonHint),
      ui_(ui), language_(language), mainWindow_(mainWindow), iconFolder_(std::move(iconFolder)) {
    setObjectName(QStringLiteral("frmIconDetails"));
    setFont(ProgramFont(7.8));
    setModal(false);
    createControls();
}

IconDetailsDialog::~IconDetailsDialog() = default;

ErrorReport IconDetailsDialog::errors() {
    return {ui_, language_, this};
}

void IconDetailsDialog::createControls() {
    const auto caption = [this](const char* name) { return Named(new QLabel(this), name); };
    const auto value = [this](const char* name) {
        auto* label = Named(new QLabel(this), name);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse); // the path can be copied
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    fileCaption_ = caption("lblFileCaption");
    path_ = value("lblFile");
    path_->setWordWrap(true);
    path_->setMinimumWidth(TwipsToPixels(6000));
    indexCaption_ = caption("lblIndexCaption");
    index_ = value("lblIndex");
    groupCaption_ = caption("lblGroupCaption");
    group_ = value("lblGroup");
    languageCaption_ = caption("lblLanguageCaption");
    languageLabel_ = value("lblLanguage");

    imagesArea_ = Named(new QScrollArea(this), "fraImages");
    imagesArea_->setWidgetResizable(true);
    imagesArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    images_ = new QWidget(imagesArea_);
    new QHBoxLayout(images_);
    imagesArea_->setWidget(images_);

    saveIcoButton_ = Named(new QPushButton(this), "cmdSaveIco");
    closeButton_ = Named(new QPushButton(this), "cmdClose");
    connect(saveIcoButton_, &QPushButton::clicked, this, &IconDetailsDialog::saveGroupIco);
    connect(closeButton_, &QPushButton::clicked, this, &IconDetailsDialog::reject);

    auto* origin = new QGridLayout;
    origin->setColumnStretch(1, 1);
    const std::pair<QLabel*, QLabel*> rows[] = {{fileCaption_, path_},
                                                {indexCaption_, index_},
                                                {groupCaption_, group_},
                                                {languageCaption_, languageLabel_}};
    int row = 0;
    for (const auto& [left, right] : rows) {
        origin->addWidget(left, row, 0, Qt::AlignTop);
        origin->addWidget(right, row++, 1);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveIcoButton_);
    buttons->addStretch();
    buttons->addWidget(closeButton_);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(origin);
    whole->addWidget(imagesArea_, 1);
    whole->addLayout(buttons);

    // Many window managers draw no question-mark button, so Shift+F1 enters What's This mode as well.
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });
    help_ = new WhatsThisHelp(ui_, language_, this);
}

void IconDetailsDialog::showIcon(const IconSource& icon) {
    iconreader::IconFile file = OpenIconFile(icon);
    auto origin = OriginOf(file, icon);
    if (!origin)
        throw RunTimeError(
            errors::PathFileAccess,
            QStringLiteral("Path/File access error: %1 (the icon is damaged)").arg(icon.file()));
    icon_ = icon;
    origin_ = std::move(origin);
    infos_ = file.info(icon.index)->images;
    file_.emplace(std::move(file));

    for (const ImageControls& c : imageControls_)
        for (QWidget* w : {static_cast<QWidget*>(c.picture), static_cast<QWidget*>(c.label),
                           static_cast<QWidget*>(c.savePng), static_cast<QWidget*>(c.copy)})
            delete w;
    imageControls_.clear();
    for (std::size_t k = 0; k < infos_.size(); ++k)
        addImage(static_cast<int>(k), infos_[k]);
    applyLanguage();
    placeOnScreen();
    show();
    raise();
    activateWindow();
}

void IconDetailsDialog::addImage(int image, const iconreader::ImageInfo& info) {
    auto* column = new QVBoxLayout;
    const auto named = [image](auto* control, const char* name) {
        control->setObjectName(QString::fromLatin1(name));
        control->setProperty("Index", image);
        return control;
    };
    ImageControls c{named(new QLabel(images_), "picImage"), named(new QLabel(images_), "lblImage"),
                    named(new QPushButton(images_), "cmdSavePng"), named(new QPushButton(images_), "cmdCopy"),
                    false};
    const auto picture = info.present ? file_->imagePicture(icon_.index, image) : std::nullopt;
    c.readable = picture.has_value();
    if (picture)
        c.picture->setPixmap(OnCheckerboard(ToImage(*picture), kLargestShown));
    c.picture->setAlignment(Qt::AlignCenter);
    c.label->setAlignment(Qt::AlignCenter);
    c.savePng->setEnabled(c.readable);
    c.copy->setEnabled(c.readable);
    connect(c.savePng, &QPushButton::clicked, this, [this, image] { saveImagePng(image); });
    connect(c.copy, &QPushButton::clicked, this, [this, image] { copyImage(image); });
    column->addWidget(c.picture, 1, Qt::AlignHCenter | Qt::AlignBottom);
    column->addWidget(c.label);
    column->addWidget(c.savePng, 0, Qt::AlignHCenter);
    column->addWidget(c.copy, 0, Qt::AlignHCenter);
    static_cast<QHBoxLayout*>(images_->layout())->addLayout(column);
    imageControls_.push_back(c);
}

void IconDetailsDialog::applyLanguage() {
    const Language& l = language_;
    setWindowTitle(l.pick(QStringLiteral("Icon details"), QStringLiteral("Λεπτομέρειες εικονιδίου")));
    fileCaption_->setText(l.pick(QStringLiteral("File:"), QStringLiteral("Αρχείο:")));
    indexCaption_->setText(l.pick(QStringLiteral("Index:"), QStringLiteral("Αριθμός:")));
    groupCaption_->setText(l.pick(QStringLiteral("Group:"), QStringLiteral("Πόρος:")));
    languageCaption_->setText(l.pick(QStringLiteral("Language:"), QStringLiteral("Γλώσσα:")));
    saveIcoButton_->setText(l.pick(QStringLiteral("Save as ICO..."), QStringLiteral("Αποθήκευση ως ICO...")));
    closeButton_->setText(l.pick(QStringLiteral("Close"), QStringLiteral("Κλείσιμο")));
    if (origin_) {
        path_->setText(origin_->file);
        index_->setText(QString::number(origin_->index));
        group_->setText(GroupText(*origin_, l.greek));
        languageLabel_->setText(origin_->language >= 0 ? QString::number(origin_->language)
                                                       : QStringLiteral("—"));
    }
    for (std::size_t k = 0; k < imageControls_.size(); ++k) {
        const ImageControls& c = imageControls_[k];
        const iconreader::ImageInfo& info = infos_[k];
        QString label = ImageLabel(QSize(info.width, info.height), info.bitCount,
                                   info.format == iconreader::ImageFormat::Png);
        if (!info.present)
            label = l.pick(QStringLiteral("missing"), QStringLiteral("λείπει"));
        else if (!c.readable)
            label += l.pick(QStringLiteral("\ndamaged"), QStringLiteral("\nκατεστραμμένη"));
        c.label->setText(label);
        c.savePng->setText(l.pick(QStringLiteral("Save as PNG..."), QStringLiteral("Αποθήκευση ως PNG...")));
        c.copy->setText(l.pick(QStringLiteral("Copy"), QStringLiteral("Αντιγραφή")));
    }

    // The topics of the language in force, for a right click, the question mark and Shift+F1.
    const std::pair<QWidget*, int> topics[] = {
        {fileCaption_, TopicDetailsFile},         {path_, TopicDetailsFile},
        {indexCaption_, TopicDetailsIndex},       {index_, TopicDetailsIndex},
        {groupCaption_, TopicDetailsGroup},       {group_, TopicDetailsGroup},
        {languageCaption_, TopicDetailsLanguage}, {languageLabel_, TopicDetailsLanguage},
        {saveIcoButton_, TopicDetailsSaveIco},    {closeButton_, TopicDetailsClose},
    };
    for (const auto& [control, topic] : topics)
        help_->addDialogTopics({{control, topic}});
    for (const ImageControls& c : imageControls_)
        help_->addDialogTopics({{c.picture, TopicDetailsImage},
                                {c.label, TopicDetailsImageSize},
                                {c.savePng, TopicDetailsSavePng},
                                {c.copy, TopicDetailsCopy}});
}

void IconDetailsDialog::placeOnScreen() {
    // As wide as the images need, up to most of the screen; the images scroll sideways beyond that.
    images_->adjustSize();
    const QScreen* screen =
        mainWindow_ && mainWindow_->screen() ? mainWindow_->screen() : QApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int frame = 2 * imagesArea_->frameWidth();
    imagesArea_->setMinimumHeight(images_->sizeHint().height() + frame +
                                  imagesArea_->horizontalScrollBar()->sizeHint().height());
    imagesArea_->setMinimumWidth(std::min(images_->sizeHint().width() + frame, available.width() * 4 / 5));
    adjustSize();
    if (!isVisible() && mainWindow_) {
        const QRect main = mainWindow_->isVisible() ? mainWindow_->frameGeometry() : mainWindow_->geometry();
        move(main.center() - QPoint(width() / 2, height() / 2));
    }
}

void IconDetailsDialog::saveImagePng(int image) {
    RunUnderErrorTrap(errors(), Location::SaveImagePng, [this, image] {
        SaveThroughDialog(ui_, language_, this, SavedKind::Png,
                          iconFolder_() + PngName(icon_, infos_[static_cast<std::size_t>(image)]),
                          [this, image](const std::filesystem::path& target) {
                              return iconwriter::writeImagePng(*file_, icon_.index, image, target);
                          });
    });
}

void IconDetailsDialog::copyImage(int image) {
    RunUnderErrorTrap(errors(), Location::CopyImage, [this, image] {
        const auto picture = file_->imagePicture(icon_.index, image);
        const auto png = iconwriter::imagePng(*file_, icon_.index, image);
        if (!picture || !png)
            throw RunTimeError(
                errors::PathFileAccess,
                QStringLiteral("Path/File access error: %1 (the icon is damaged)").arg(icon_.file()));
        // The bitmap shows the image as the screen does, on the window colour; the PNG keeps its alpha.
        const QImage withAlpha = ToImage(*picture);
        QImage drawn(withAlpha.size(), QImage::Format_RGB32);
        drawn.fill(QApplication::palette().color(QPalette::Active, QPalette::Base));
        QPainter(&drawn).drawImage(0, 0, withAlpha);
        ui_.setClipboardImage(drawn, QByteArray(reinterpret_cast<const char*>(png->data()),
                                                static_cast<qsizetype>(png->size())));
    });
}

void IconDetailsDialog::saveGroupIco() {
    RunUnderErrorTrap(errors(), Location::SaveGroupIco, [this] {
        SaveThroughDialog(ui_, language_, this, SavedKind::Ico,
                          iconFolder_() +
                              DisplayPath(iconwriter::outputName(icon_.fileName(), icon_.index, "ico")),
                          [this](const std::filesystem::path& target) {
                              return iconwriter::writeIco(*file_, icon_.index, target);
                          });
    });
}

} // namespace vesmarin
