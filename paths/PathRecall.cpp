#include "paths/PathRecall.h"

#include "base/PathText.h"
#include "paths/FolderTree.h"

namespace vesmarin {

namespace {

QString RecallTitle(const SharedState& state) {
    return Pick(state, QStringLiteral("Recall path"), QStringLiteral("Ανάκληση διαδρομής"));
}

// Selects the part of the path that was found once more, so that it is opened and activated, and
// returns it in display form.
QString KeepRecalledPart(basTreeViewManager& tree) {
    const QString recalled = tree.GetCurrentPath();
    tree.SelectPath(recalled);
    return recalled;
}

} // namespace

void RecallPath(const QString& path, basTreeViewManager& tree, Interaction& ui, const SharedState& state,
                QWidget* parent) {
    if (tree.SelectPath(path))
        return;
    QString recalled = KeepRecalledPart(tree);

    MessageRequest question;
    question.title = RecallTitle(state);
    question.icon = MsgIcon::Question;
    question.buttons = MsgButtons::OkCancel;
    question.defaultButton = MsgButton::Ok;
    question.text =
        Pick(state,
             QStringLiteral(
                 "You are trying to recall path '%1', which could not be located on your computer. "
                 "The path that has been recalled so far, is '%2'.\r\n\r\n"
                 "If the full path refers to a removable or network disk, make the necessary "
                 "arrangements NOW and click 'OK' to recall the full path, or click 'Cancel' to "
                 "maintain as current, the path that has been recalled so far.\r\n\r\n"
                 "CAUTION: If you have instructed this application to distinguish between upper and "
                 "lower case letters in item names, make certain that the operating system which "
                 "hosts this application, ALSO distinguishes between upper and lower case letters "
                 "in item names."),
             QStringLiteral(
                 "Προσπαθείτε να ανακαλέσετε τη διαδρομή «%1», η οποία όμως δεν εντοπίσθηκε στον "
                 "υπολογιστή σας. Η διαδρομή η οποία έγινε δυνατόν να ανακληθεί μέχρι τώρα, είναι η "
                 "«%2».\r\n\r\n"
                 "Αν η πλήρης διαδρομή αφορά αφαιρούμενο δίσκο ή δίσκο δικτύου, κάντε ΤΩΡΑ τις "
                 "απαραίτητες ενέργειες και πατήστε το «ΟΚ» ώστε να ανακληθεί η πλήρης διαδρομή, ή "
                 "πατήστε το «Άκυρο», ώστε να παραμείνει τρέχουσα, η διαδρομή η οποία έχει ανακληθεί "
                 "μέχρι τώρα.\r\n\r\n"
                 "ΠΡΟΣΟΧΗ: Αν έχετε ενεργοποιήσει το διαχωρισμό ανάμεσα στα πεζά και κεφαλαία "
                 "γράμματα των ονομάτων των στοιχείων, βεβαιωθείτε ότι ΚΑΙ το λειτουργικό σύστημα "
                 "στο οποίο εκτελείται αυτή η εφαρμογή, υποστηρίζει το διαχωρισμό ανάμεσα στα πεζά "
                 "και κεφαλαία γράμματα των ονομάτων των στοιχείων."))
            .arg(path, recalled);
    if (ui.messageBox(parent, question) != MsgButton::Ok)
        return;

    // Read the drives anew: a disk inserted meanwhile is found now. There is exactly one retry.
    if (tree.InitializeTree(path))
        return;
    recalled = KeepRecalledPart(tree);

    MessageRequest final;
    final.title = RecallTitle(state);
    final.icon = MsgIcon::Information;
    final.buttons = MsgButtons::Ok;
    final.defaultButton = MsgButton::Ok;
    final.text = Pick(state,
                      QStringLiteral("Path '%1', could not be recalled after all. The path that has been "
                                     "recalled, is '%2'."),
                      QStringLiteral("Τελικώς, η διαδρομή «%1» δεν έγινε δυνατόν να ανακληθεί. Η διαδρομή η "
                                     "οποία έγινε δυνατόν να ανακληθεί, είναι η «%2»."))
                     .arg(path, recalled);
    ui.messageBox(parent, final);
}

void RefreshTree(basTreeViewManager& tree, Interaction& ui, const SharedState& state, QWidget* parent) {
    const QString current = tree.GetCurrentPath();
    tree.ClearTree();
    RecallPath(current, tree, ui, state, parent);
}

void UpOneLevel(basTreeViewManager& tree, Interaction& ui, const SharedState& state, QWidget* parent) {
    const QString current = tree.GetCurrentPath();
    if (tree.IsDriveRoot(current)) {
        MessageRequest root;
        root.title = Pick(state, QStringLiteral("Up one level"), QStringLiteral("Ένα επίπεδο επάνω"));
        root.icon = MsgIcon::Critical;
        root.buttons = MsgButtons::Ok;
        root.defaultButton = MsgButton::Ok;
        root.text =
            Pick(state,
                 QStringLiteral("You are already on the root directory of the current drive and as a "
                                "result, you cannot go up any further."),
                 QStringLiteral("Βρίσκεστε ήδη στο πρώτο επίπεδο του τρέχοντος δίσκου και επομένως δεν "
                                "μπορείτε να μετακινηθείτε σε υψηλότερο επίπεδο."));
        ui.messageBox(parent, root);
        return;
    }
    // The parent keeps its trailing separator: C:\WINDOWS\SYSTEM gives C:\WINDOWS\, /usr gives /.
    const QString parentPath =
        current.left(current.size() - GetLastSegment(current, tree.separator()).size());
    RecallPath(parentPath, tree, ui, state, parent);
}

} // namespace vesmarin
