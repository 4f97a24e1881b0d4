#include "savedpaths/RecallPathDialog.h"

#include "base/HelpFile.h"
#include "savedpaths/core/SavedPathsStore.h"
#include "savedpaths/core/TextEditor.h"
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

namespace vesmarin::savedpaths {

namespace {

template <class W> W* Named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

QColor FromColourValue(std::uint32_t colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

void SetListColour(QListWidget* list, const QColor& colour) {
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, colour);
    list->setPalette(palette);
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

void EnsureSavedPathsFile(Interaction& ui, const SharedState& state, QWidget* parent) {
    RunUnderErrorTrap(ui, state, parent, Location::EnsureSavedPathsFile,
                      [&] { RaiseIfFailed(vesmarin::EnsureSavedPathsFile(state.gSavedPathsFile)); });
}

void LoadSavedPaths(Interaction& ui, const SharedState& state, QWidget* parent, QPushButton* recall,
                    QListWidget* list) {
    RunUnderErrorTrap(ui, state, parent, Location::LoadSavedPaths, [&] {
        recall->setEnabled(false);
        list->clear();
        const SavedPathsContent content = vesmarin::LoadSavedPaths(state.gSavedPathsFile);
        RaiseIfFailed(content.status);
        if (!content.exists)
            return;
        const QStringList shown = RecallableSavedPaths(content.lines);
        if (auto* rows = dynamic_cast<UniformRows*>(list->itemDelegate()))
            rows->setWidestText(WidestTextWidth(shown, QFontMetricsF(list->font())));
        list->addItems(shown);
        if (list->count() > 0) {
            list->clearSelection();
            SetListColour(list, FromColourValue(state.gBackColor));
        } else {
            SetListColour(list, EmptyListColour());
        }
    });
}

frmRecallPath::frmRecallPath(Interaction& ui, SharedState& state, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowContextHelpButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui_(ui), state_(state) {
    setObjectName(QStringLiteral("frmRecallPath"));
    setFont(ProgramFont(7.8));
    setFixedSize(TwipsToPixels(7812), TwipsToPixels(4452));
    CreateControls();
    Load();
}

void frmRecallPath::CreateControls() {
    lstSavedPaths = Named(new QListWidget(this), "lstSavedPaths");
    Place(lstSavedPaths, 120, 120, 7572, 3696);
    lstSavedPaths->setSelectionMode(QAbstractItemView::SingleSelection);
    // Paths are shown whole, blanks included; a long one scrolls sideways rather than being cut short.
    lstSavedPaths->setTextElideMode(Qt::ElideNone);
    lstSavedPaths->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstSavedPaths->setUniformItemSizes(true);
    lstSavedPaths->setItemDelegate(new UniformRows(lstSavedPaths));

    cmdRecall = Named(new QPushButton(this), "cmdRecall");
    Place(cmdRecall, 5640, 3960, 2052, 372);
    cmdEdit = Named(new QPushButton(this), "cmdEdit");
    Place(cmdEdit, 2880, 3960, 2052, 372);
    cmdCancel = Named(new QPushButton(this), "cmdCancel");
    Place(cmdCancel, 120, 3960, 2052, 372);

    // Enter recalls the selected line (and does nothing while none is selected), unless the focus is on
    // another button, which Enter then presses.
    cmdRecall->setDefault(true);
    setTabOrder(lstSavedPaths, cmdRecall);
    setTabOrder(cmdRecall, cmdEdit);
    setTabOrder(cmdEdit, cmdCancel);
    lstSavedPaths->setFocus();

    // The keyboard selects as a click does, so both enable Recall.
    connect(lstSavedPaths, &QListWidget::itemSelectionChanged, this, [this] { lstSavedPaths_Click(); });
    connect(cmdRecall, &QPushButton::clicked, this, [this] { cmdRecall_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    // Many window managers draw no question-mark button, so Shift+F1 enters What's This mode as well.
    auto* whatsThis = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1), this);
    connect(whatsThis, &QShortcut::activated, this, [] { QWhatsThis::enterWhatsThisMode(); });
    help = new help::WhatsThisHelp(ui_, state_, this);
}

void frmRecallPath::Load() {
    RunUnderErrorTrap(ui_, state_, this, Location::OpenRecallDialog, [this] { RunLoad(); });
}

void frmRecallPath::RunLoad() {
    SetListColour(lstSavedPaths, FromColourValue(state_.gBackColor));

    setWindowTitle(Pick(state_, QStringLiteral("Recall path"), QStringLiteral("Ανάκληση διαδρομής")));
    cmdRecall->setText(Pick(state_, QStringLiteral("Recall"), QStringLiteral("Ανάκληση")));
    cmdCancel->setText(Pick(state_, QStringLiteral("Cancel"), QStringLiteral("Άκυρο")));
    cmdEdit->setText(Pick(state_, QStringLiteral("Edit..."), QStringLiteral("Επεξεργασία...")));

    help::AddDialogTopics(*help, state_,
                          {{lstSavedPaths, TopicSavedPathsList},
                           {cmdCancel, TopicRecallCancel},
                           {cmdEdit, TopicRecallEdit},
                           {cmdRecall, TopicRecall}});

    EnsureSavedPathsFile(ui_, state_, this);
    LoadSavedPaths(ui_, state_, this, cmdRecall, lstSavedPaths);

    // Centred on the screen the main window is on.
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
}

void frmRecallPath::lstSavedPaths_Click() {
    cmdRecall->setEnabled(!lstSavedPaths->selectedItems().isEmpty());
}

void frmRecallPath::cmdRecall_Click() {
    const QList<QListWidgetItem*> selected = lstSavedPaths->selectedItems();
    if (selected.isEmpty())
        return;
    state_.gRecalledPath = selected.first()->text();
    accept();
}

void frmRecallPath::cmdCancel_Click() {
    state_.gRecalledPath.clear();
    QDialog::reject();
}

void frmRecallPath::reject() {
    cmdCancel->click();
}

void frmRecallPath::closeEvent(QCloseEvent* event) {
    if (!RefuseControlMenuClose(ui_, state_, this, event))
        QDialog::closeEvent(event); // a close from the program itself cancels, as Cancel does
}

void frmRecallPath::cmdEdit_Click() {
    RunUnderErrorTrap(ui_, state_, this, Location::EditSavedPaths, [this] { RunEdit(); });
}

void frmRecallPath::RunEdit() {
    const QString file = state_.gSavedPathsFile;
    const QString title = Pick(state_, QStringLiteral("Edit saved paths"),
                               QStringLiteral("Επεξεργασία αποθηκευμένων διαδρομών"));
    const EditorCommand editor =
        TextEditorCommand([this](const QString& name) { return ui_.findExecutable(name); }, file);

    if (editor.isEmpty()) {
        // Without an editor the program cannot edit the file, but the user can, once told where it is.
        ShowMessage(
            ui_, this,
            Pick(state_,
                 QStringLiteral("No text editor has been located on your computer. The saved paths are kept "
                                "in the file '") +
                     file + QStringLiteral("', one path per line, which you may edit with any text editor."),
                 QStringLiteral("Δεν εντοπίσθηκε κάποιος επεξεργαστής κειμένου στον υπολογιστή σας. Οι "
                                "αποθηκευμένες διαδρομές φυλάσσονται στο αρχείο «") +
                     file +
                     QStringLiteral("», μία διαδρομή ανά γραμμή, το οποίο μπορείτε να επεξεργασθείτε με "
                                    "οποιονδήποτε επεξεργαστή κειμένου.")),
            title);
    } else {
        MessageRequest notice;
        notice.title = title;
        notice.text =
            Pick(state_,
                 QStringLiteral("The application is suspended for as long as you are editing the file '") +
                     file + QStringLiteral("'."),
                 QStringLiteral("Η εφαρμογή αδρανοποιείται για όσο χρονικό διάστημα επεξεργάζεστε το "
                                "αρχείο «") +
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
    EnsureSavedPathsFile(ui_, state_, this);
    LoadSavedPaths(ui_, state_, this, cmdRecall, lstSavedPaths);
}

void ShowRecallPath(Interaction& ui, SharedState& state, QWidget* mainWindow) {
    {
        frmRecallPath dialog(ui, state, mainWindow);
        dialog.exec();
    }
    if (mainWindow)
        mainWindow->activateWindow();
}

} // namespace vesmarin::savedpaths
