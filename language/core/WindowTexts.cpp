#include "language/core/WindowTexts.h"

namespace vesmarin {

const std::vector<WindowText>& MainWindowTexts() {
    using K = TextKind;
    static const std::vector<WindowText> texts = {
        {"picCopyright", K::ToolTip, PictureName(), PictureName()},
        {"lblCopyright", K::ToolTip, QStringLiteral("Copyright notice"),
         QStringLiteral("Πνευματικά δικαιώματα")},
        {"cmdHelp", K::ToolTip, QStringLiteral("Help"), QStringLiteral("Βοήθεια")},
        {"cmdEnd", K::ToolTip, QStringLiteral("Exit"), QStringLiteral("Έξοδος")},
        {"cmdSavePath", K::ToolTip, QStringLiteral("Save path"), QStringLiteral("Αποθήκευση διαδρομής")},
        {"mnuSavePathRecent", K::MenuCaption, QStringLiteral("Recent..."), QStringLiteral("Πρόσφατες...")},
        {"mnuSavePathInitial", K::MenuCaption, QStringLiteral("Initial..."), QStringLiteral("Αρχική...")},
        {"mnuSavePathIcons", K::MenuCaption, QStringLiteral("Icons..."), QStringLiteral("Εικονιδίων...")},
        {"mnuSavePathHelp", K::MenuCaption, QStringLiteral("Help"), QStringLiteral("Βοήθεια")},
        {"mnuSavePathCancel", K::MenuCaption, QStringLiteral("Cancel"), QStringLiteral("Άκυρο")},
        {"cmdRecallPath", K::ToolTip, QStringLiteral("Recall path"), QStringLiteral("Ανάκληση διαδρομής")},
        {"mnuRecallPathRecent", K::MenuCaption, QStringLiteral("Recent..."), QStringLiteral("Πρόσφατες...")},
        {"mnuRecallPathInitial", K::MenuCaption, QStringLiteral("Initial"), QStringLiteral("Αρχική")},
        {"mnuRecallPathHelp", K::MenuCaption, QStringLiteral("Help"), QStringLiteral("Βοήθεια")},
        {"mnuRecallPathCancel", K::MenuCaption, QStringLiteral("Cancel"), QStringLiteral("Άκυρο")},
        {"mnuIconsSave", K::MenuCaption, QStringLiteral("Save"), QStringLiteral("Αποθήκευση")},
        {"mnuIconsSaveAs", K::MenuCaption, QStringLiteral("Save as..."), QStringLiteral("Αποθήκευση ως...")},
        {"mnuIconsCopy", K::MenuCaption, QStringLiteral("Copy"), QStringLiteral("Αντιγραφή")},
        {"mnuIconsHelp", K::MenuCaption, QStringLiteral("Help"), QStringLiteral("Βοήθεια")},
        {"mnuIconsCancel", K::MenuCaption, QStringLiteral("Cancel"), QStringLiteral("Άκυρο")},
        {"mnuIconsSavePng", K::MenuCaption, QStringLiteral("Save as PNG..."),
         QStringLiteral("Αποθήκευση ως PNG...")},
        {"mnuIconsSaveIco", K::MenuCaption, QStringLiteral("Save as ICO..."),
         QStringLiteral("Αποθήκευση ως ICO...")},
        {"mnuIconsSaveAll", K::MenuCaption, QStringLiteral("Save all icons of this set..."),
         QStringLiteral("Αποθήκευση όλων των εικονιδίων της ομάδας...")},
        {"mnuIconsDetails", K::MenuCaption, QStringLiteral("Details..."), QStringLiteral("Λεπτομέρειες...")},
        {"cmdRefresh", K::ToolTip, QStringLiteral("Refresh path"), QStringLiteral("Ανανέωση διαδρομής")},
        {"cmdUpOneLevel", K::ToolTip, QStringLiteral("Up one level"), QStringLiteral("Ένα επίπεδο επάνω")},
        {"cmdBrowse", K::ToolTip, QStringLiteral("Icon browsing"), QStringLiteral("Φυλλομέτρηση εικονιδίων")},
        {"fraLevels", K::Caption, QStringLiteral(" Levels "), QStringLiteral(" Επίπεδα ")},
        {"cmdAll", K::Caption, QStringLiteral("All"), QStringLiteral(" Ολα ")},
        {"fraWhatToBrowse", K::Caption, QStringLiteral(" What to browse "), QStringLiteral(" Φυλλομέτρηση ")},
        {"chkCaseSensitive", K::Caption, QStringLiteral("Distinguish between upper-lower case"),
         QStringLiteral("Διαχωρισμός πεζών-κεφαλαίων")},
        {"cmdScan", K::Caption, QStringLiteral("Display next set of icons"),
         QStringLiteral("Εμφάνιση επόμενης ομάδας εικονιδίων")},
    };
    return texts;
}

QString Title() {
    return QStringLiteral("Vesmarin");
}

QString PictureName() {
    return QStringLiteral("Vesmarin");
}

QString NoticeName(bool greek) {
    return greek ? QStringLiteral("Ομάδα Vesmarin") : QStringLiteral("The Vesmarin team");
}

QString NoticeText(bool greek, const QString& noticeName, const QDate& today) {
    const QString year = QString::number(today.year());
    return greek ? QStringLiteral("© %1 %2.\nΜε επιφύλαξη κάθε δικαιώματος.").arg(year, noticeName)
                 : QStringLiteral("© %1 %2.\nAll rights reserved.").arg(year, noticeName);
}

QString HelpText(bool greek) {
    if (greek)
        return QStringLiteral(
            "Για να λάβουμε άμεση βοήθεια, αρκεί να πατήσουμε το ΔΕΞΙΟ κουμπί του ποντικιού, στα "
            "διάφορα χειριστήρια της εφαρμογής. Επιπλέον, αν στη γραμμή τίτλου ενός παραθύρου υπάρχει "
            "ένα ερωτηματικό, μπορούμε να πατήσουμε το ΑΡΙΣΤΕΡΟ κουμπί του ποντικιού στο ερωτηματικό "
            "και κατόπιν, στο στοιχείο για το οποίο θέλουμε να λάβουμε άμεση βοήθεια.\r\n\r\n"
            "Αν αφήσουμε για λίγο το δείκτη του ποντικιού επάνω στα κουμπιά με τα εικονίδια, θα δούμε "
            "μία συνοπτική περιγραφή της εργασίας που επιτελεί το κάθε κουμπί.\r\n\r\n"
            "Ο όρος ΣΤΟΙΧΕΙΟ, αναλόγως με το κείμενο στο οποίο αναφέρεται, μπορεί να αντιπροσωπεύει "
            "(είτε ρητώς ή με οποιοδήποτε συνδυασμό) τα εξής:\r\n"
            "1) Ένα δίσκο ή/και το γράμμα ενός δίσκου.\r\n"
            "2) Ένα φάκελλο ή/και το όνομα ενός φακέλλου.\r\n"
            "3) Έναν υποφάκελλο ή/και το όνομα ενός υποφακέλλου.\r\n"
            "4) Ένα αρχείο ή/και το όνομα ενός αρχείου.\r\n\r\n"
            "Ο όρος ΣΤΟΙΧΕΙΟ ΕΚΚΙΝΗΣΕΩΣ, αντιπροσωπεύει το φάκελλο από τον οποίο θέλουμε να αρχίσει ο "
            "έλεγχος των αρχείων των οποίων τα εικονίδια θα φυλλομετρηθούν.");
    return QStringLiteral(
        "If we click the RIGHT mouse button on the various elements of the application, we shall "
        "get on-line help. Furthermore, if a question-mark appears in the title bar of a window, "
        "we can click the LEFT mouse button on the question-mark and then on the item for which we "
        "want to get on-line help.\r\n\r\n"
        "If we hover the mouse pointer over the buttons with the icons, we shall see a concise "
        "description of what each button does.\r\n\r\n"
        "The term ITEM, depending on the context in which it is referenced, may represent (either "
        "explicitly or in any combination) the following:\r\n"
        "1) A drive and/or a drive letter.\r\n"
        "2) A folder and/or a folder name.\r\n"
        "3) A subfolder and/or a subfolder name.\r\n"
        "4) A file and/or a file name.\r\n\r\n"
        "The term STARTING ITEM, represents the folder from which the browsing process will "
        "commence.");
}

QString HelpTitle(bool greek) {
    return greek ? QStringLiteral("Βοήθεια") : QStringLiteral("Help");
}

} // namespace vesmarin
