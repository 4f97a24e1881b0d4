#include "paths/PathRecall.h"

#include "base/PathText.h"
#include "paths/FolderTree.h"

namespace vesmarin {

// Selects the part of the path that was found once more, so that it is opened and activated, and
// returns it in display form.
QString PathRecall::keepRecalledPart() {
    const QString recalled = tree_.currentPath();
    tree_.selectPath(recalled);
    return recalled;
}

void PathRecall::recall(const QString& path) {
    if (tree_.selectPath(path))
        return;
    QString recalled = keepRecalledPart();

    const QString title = language_.pick(QStringLiteral("Recall path"), QStringLiteral("Ανάκληση διαδρομής"));
    MessageRequest question;
    question.title = title;
    question.icon = MsgIcon::Question;
    question.buttons = MsgButtons::OkCancel;
    question.defaultButton = MsgButton::Ok;
    question.text =
        language_
            .pick(QStringLiteral(
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
    if (ui_.messageBox(parent_, question) != MsgButton::Ok)
        return;

    // Read the drives anew: a disk inserted meanwhile is found now. There is exactly one retry.
    if (tree_.rebuild(path))
        return;
    recalled = keepRecalledPart();
    ShowMessage(
        ui_, parent_,
        language_
            .pick(QStringLiteral("Path '%1', could not be recalled after all. The path that has been "
                                 "recalled, is '%2'."),
                  QStringLiteral("Τελικώς, η διαδρομή «%1» δεν έγινε δυνατόν να ανακληθεί. Η διαδρομή "
                                 "η οποία έγινε δυνατόν να ανακληθεί, είναι η «%2»."))
            .arg(path, recalled),
        title);
}

void PathRecall::refresh() {
    const QString current = tree_.currentPath();
    tree_.clear();
    recall(current);
}

void PathRecall::upOneLevel() {
    const QString current = tree_.currentPath();
    if (tree_.isDriveRoot(current)) {
        ShowMessage(
            ui_, parent_,
            language_.pick(QStringLiteral("You are already on the root directory of the current drive "
                                          "and as a result, you cannot go up any further."),
                           QStringLiteral("Βρίσκεστε ήδη στο πρώτο επίπεδο του τρέχοντος δίσκου και "
                                          "επομένως δεν μπορείτε να μετακινηθείτε σε υψηλότερο "
                                          "επίπεδο.")),
            language_.pick(QStringLiteral("Up one level"), QStringLiteral("Ένα επίπεδο επάνω")),
            MsgIcon::Critical);
        return;
    }
    // The parent keeps its trailing separator: C:\WINDOWS\SYSTEM gives C:\WINDOWS\, /usr gives /.
    recall(current.left(current.size() - GetLastSegment(current, tree_.separator()).size()));
}

} // namespace vesmarin
