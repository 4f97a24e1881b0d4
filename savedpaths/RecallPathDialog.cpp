#include "savedpaths/RecallPathDialog.h"

#include "base/HelpFile.h"
#include "savedpaths/core/SavedPathsStore.h"
#include "savedpaths/core/TextEditor.h"
#include "ui/CloseRefusal.h"
#include "ui/Layout.h"
#include "ui/WhatsThisHelp.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QWhatsThis>
#include <algorithm>
#include <array>
#include <cmath>

namespace vesmarin {

namespace {

void SetListColour(QListWidget* list, const QColor& colour) {
    list->setPalette(PaletteOnBackground(list->palette(), colour));
    list->viewport()->update();
}

// Every row of the list has the size of the widest one. Measuring each of a list of millions through the
// font, as a list does by default, takes far longer than reading them: the widest line is found once from
// the advance of each character instead, and the list lays out rows of one size.
class UniformRows final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setWidestText(int width) { widest_ = width; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize hint = QStyledItemDelegate::sizeHint(option, index);
        const int own = option.fontMetrics.horizontalAdvance(index.data().toString());
        hint.setWidth(std::max(hint.width(), hint.width() - own + widest_));
        return hint;
    }

private:
    int widest_ = 0;
};

// The width of the widest line as the sum of its characters' advances, in fractions of a pixel as the text
// is laid out (a little more than the shaped text where letters kern, never much less).
int WidestTextWidth(const QStringList& lines, const QFontMetricsF& metrics) {
    std::array<qreal, 256> latin;
    latin.fill(-1);
    QHash<char32_t, qreal> others;
    qreal widest = 0;
    for (const QString& line : lines) {
        qreal width = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const char16_t c = line[i].unicode();
            if (c < latin.size()) {
                qreal& advance = latin[c];
                if (advance < 0)
                    advance = metrics.horizontalAdvance(QChar(c));
                width += advance;
                continue;
            }
            const bool pair =
                QChar::isHighSurrogate(c) && i + 1 < line.size() && line[i + 1].isLowSurrogate();
            const char32_t code = pair ? QChar::surrogateToUcs4(c, line[i + 1].unicode()) : c;
            auto known = others.find(code);
            if (known == others.end())
                known = others.insert(code, metrics.horizontalAdvance(line.mid(i, pair ? 2 : 1)));
            width += *known;
            i += pair ? 1 : 0;
        }
        widest = std::max(widest, width);
    }
    return static_cast<int>(std::ceil(widest));
}

void RaiseIfFailed(const StoreStatus& status) {
    if (!status)
        throw RunTimeError(status.errorNumber, status.errorDescription);
}

} // namespace

QColor EmptyListColour() {
    // The grey of an inactive window's frame: darker than any surface a filled list or a dialog shows.
    return QGuiApplication::palette().color(QPalette::Inactive, QPalette::Mid);
}

RecallPathDialog::RecallPathDialog(Interaction& ui, const Language& language, QString savedPathsFile,
                                   QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui_(ui), language_(language), savedPathsFile_(std::move(savedPathsFile)) {
    setObjectName(QStringLiteral("frmRecallPath"));
    setFont(ProgramFont(7.8));
    setFixedSize(TwipsToPixels(7812), TwipsToPixels(4452));
    createControls();
    RunUnderErrorTrap(errors(), Location::OpenRecallDialog, [this] { load(); });
}

void RecallPathDialog::createControls() {
    savedPaths_ = Named(new QListWidget(this), "lstSavedPaths");
    PlaceInTwips(savedPaths_, 120, 120, 7572, 3696);
    savedPaths_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Paths are shown whole, blanks included; a long one scrolls sideways rather than being cut short.
    savedPaths_->setTextElideMode(Qt::ElideNone);
    savedPaths_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    savedPaths_->setUniformItemSizes(true);
    savedPaths_->setItemDelegate(new UniformRows(savedPaths_));

    recallButton_ = Named(new QPushButton(this), "cmdRecall");
    PlaceInTwips(recallButton_, 5640, 3960, 2052, 372);
    editButton_ = Named(new QPushButton(this), "cmdEdit");
    PlaceInTwips(editButton_, 2880, 3960, 2052, 372);
    cancelButton_ = Named(new QPushButton(this), "cmdCancel");
    PlaceInTwips(cancelButton_, 120, 3960, 2052, 372);

    // Enter recalls the selected line (and does nothing while none is selected), unless the focus is on
    // another button, which Enter then presses.
    recallButton_->setDefault(true);
    setTabOrder(savedPaths_, recallButton_);
    setTabOrder(recallButton_, editButton_);
    setTabOrder(editButton_, cancelButton_);
    savedPaths_->setFocus();

    // The keyboard selects as a click does, so both enable Recall.
    connect(savedPaths_, &QListWidget::itemSelectionChanged, this,
            [this] { recallButton_->setEnabled(!savedPaths_->selectedItems().isEmpty()); });
    connect(recallButton_, &QPushButton::clicked, this, &RecallPathDialog::recall);
    connect(editButton_, &QPushButton::clicked, this, &RecallPathDialog::editSavedPaths);
    connect(cancelButton_, &QPushButton::clicked, this, &RecallPathDialog::cancel);

    // Many window managers draw no question-mark button, so Shift+F1 enters What's This mode as well.
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });
    help_ = new WhatsThisHelp(ui_, language_, this);
}

void RecallPathDialog::load() {
    SetListColour(savedPaths_, kPaleCyan);
    loadTexts();
    ensureSavedPathsFile();
    readSavedPaths();
    centreOnScreen();
}

void RecallPathDialog::loadTexts() {
    setWindowTitle(language_.pick(QStringLiteral("Recall path"), QStringLiteral("Ανάκληση διαδρομής")));
    recallButton_->setText(language_.pick(QStringLiteral("Recall"), QStringLiteral("Ανάκληση")));
    cancelButton_->setText(language_.pick(QStringLiteral("Cancel"), QStringLiteral("Άκυρο")));
    editButton_->setText(language_.pick(QStringLiteral("Edit..."), QStringLiteral("Επεξεργασία...")));
    help_->addDialogTopics({{savedPaths_, TopicSavedPathsList},
                            {cancelButton_, TopicRecallCancel},
                            {editButton_, TopicRecallEdit},
                            {recallButton_, TopicRecall}});
}

// Centred on the screen the main window is on.
void RecallPathDialog::centreOnScreen() {
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
}

// Creates the recent-paths file, empty, when it is missing.
void RecallPathDialog::ensureSavedPathsFile() {
    RunUnderErrorTrap(errors(), Location::EnsureSavedPathsFile,
                      [this] { RaiseIfFailed(EnsureSavedPathsFile(savedPathsFile_)); });
}

// Fills the list with the lines of the file that hold more than blanks, exactly as stored, none selected,
// and disables Recall. A filled list is pale cyan, an empty one greyed; without a file the list stays empty
// in the colour it had.
void RecallPathDialog::readSavedPaths() {
    RunUnderErrorTrap(errors(), Location::LoadSavedPaths, [this] {
        recallButton_->setEnabled(false);
        savedPaths_->clear();
        const SavedPathsContent content = LoadSavedPaths(savedPathsFile_);
        RaiseIfFailed(content.status);
        if (!content.exists)
            return;
        const QStringList shown = RecallableSavedPaths(content.lines);
        if (auto* rows = dynamic_cast<UniformRows*>(savedPaths_->itemDelegate()))
            rows->setWidestText(WidestTextWidth(shown, QFontMetricsF(savedPaths_->font())));
        savedPaths_->addItems(shown);
        if (savedPaths_->count() > 0) {
            savedPaths_->clearSelection();
            SetListColour(savedPaths_, kPaleCyan);
        } else {
            SetListColour(savedPaths_, EmptyListColour());
        }
    });
}

void RecallPathDialog::recall() {
    const QList<QListWidgetItem*> selected = savedPaths_->selectedItems();
    if (selected.isEmpty())
        return;
    chosen_ = selected.first()->text();
    accept();
}

void RecallPathDialog::cancel() {
    chosen_.reset();
    QDialog::reject();
}

void RecallPathDialog::reject() {
    cancelButton_->click();
}

void RecallPathDialog::closeEvent(QCloseEvent* event) {
    if (!RefuseControlMenuClose(ui_, language_, this, event))
        QDialog::closeEvent(event); // a close from the program itself cancels, as Cancel does
}

void RecallPathDialog::editSavedPaths() {
    RunUnderErrorTrap(errors(), Location::EditSavedPaths, [this] { runEdit(); });
}

void RecallPathDialog::runEdit() {
    const QString& file = savedPathsFile_;
    const QString title = language_.pick(QStringLiteral("Edit saved paths"),
                                         QStringLiteral("Επεξεργασία αποθηκευμένων διαδρομών"));
    const EditorCommand editor =
        TextEditorCommand([this](const QString& name) { return ui_.findExecutable(name); }, file);

    if (editor.isEmpty()) {
        // Without an editor the program cannot edit the file, but the user can, once told where it is.
        ShowMessage(
            ui_, this,
            language_.pick(QStringLiteral("No text editor has been located on your computer. The saved "
                                          "paths are kept in the file '") +
                               file +
                               QStringLiteral("', one path per line, which you may edit with any text "
                                              "editor."),
                           QStringLiteral("Δεν εντοπίσθηκε κάποιος επεξεργαστής κειμένου στον υπολογιστή "
                                          "σας. Οι αποθηκευμένες διαδρομές φυλάσσονται στο αρχείο «") +
                               file +
                               QStringLiteral("», μία διαδρομή ανά γραμμή, το οποίο μπορείτε να "
                                              "επεξεργασθείτε με οποιονδήποτε επεξεργαστή κειμένου.")),
            title);
    } else {
        MessageRequest notice;
        notice.title = title;
        notice.text = language_.pick(
            QStringLiteral("The application is suspended for as long as you are editing the file '") + file +
                QStringLiteral("'."),
            QStringLiteral("Η εφαρμογή αδρανοποιείται για όσο χρονικό διάστημα επεξεργάζεστε το αρχείο «") +
                file + QStringLiteral("»."));
        notice.icon = MsgIcon::Information;
        notice.buttons = MsgButtons::OkCancel;
        notice.defaultButton = MsgButton::Ok;
        if (ui_.messageBox(this, notice) != MsgButton::Ok)
            return;
        // Whether the editor started is not examined: the list is read again in any case.
        ui_.runAndWait(editor.program, editor.arguments);
    }

    // The user may have deleted the file in the editor.
    ensureSavedPathsFile();
    readSavedPaths();
}

std::optional<QString> RecallPathDialog::choose(Interaction& ui, const Language& language,
                                                const QString& savedPathsFile, QWidget* mainWindow) {
    std::optional<QString> chosen;
    {
        RecallPathDialog dialog(ui, language, savedPathsFile, mainWindow);
        dialog.exec();
        chosen = dialog.chosenPath();
    }
    if (mainWindow)
        mainWindow->activateWindow();
    return chosen;
}

} // namespace vesmarin
