#pragma once

// The help engine: looks up the pop-up text of a topic number in a help file of the current language.
//
// Help file format (UTF-8 text, one file per language, beside the program):
//
//     # A line whose first non-blank character is '#' is a comment.
//     [10010]
//     The text of topic 10010: every line up to the next topic header.
//     Lines that follow each other are joined by one blank into a paragraph.
//
//     A blank line starts a new paragraph.
//     [10020]
//     ...
//
// - A topic header is a line that holds only a decimal topic number in square brackets (blanks around
//   it are allowed).
// - Blanks at both ends of each text line are dropped; blank lines at the start and end of a topic are
//   dropped; paragraphs are separated by one empty line ("\n\n") in the text handed out.
// - Text before the first header is ignored. A number given twice keeps its first text. A topic whose
//   text is empty counts as missing. A UTF-8 byte-order mark at the start is allowed.
//
// A missing file, an unreadable file or a missing topic gives the engine's own message, in the language
// asked for, naming the file and the topic number, so the caller shows it in place of the topic and goes on.
// Parsed files are kept by path and checked against the file's modification time and size on every
// lookup, so an edited file is read again.

#include <QDateTime>
#include <QHash>
#include <QString>
#include <array>
#include <mutex>

namespace vesmarin {

// Topic numbers of the controls that have help, in blocks per window.
enum HelpTopic : int {
    // Main window
    TopicFolderTree = 10010,    // tvwControl
    TopicCurrentPath = 10020,   // lblCurrentPath
    TopicInfo = 10030,          // lblInfo
    TopicCaseSensitive = 10040, // chkCaseSensitive
    TopicWhatToBrowse = 10050,  // fraWhatToBrowse
    TopicBrowseExe = 10060,     // chkWhatToBrowse(0)
    TopicBrowseDll = 10070,     // chkWhatToBrowse(1)
    TopicLevels = 10080,        // fraLevels
    TopicAllLevels = 10090,     // cmdAll
    TopicLevelsUpDown = 10100,  // updLevels
    TopicHelp = 10110,          // cmdHelp
    TopicGreek = 10120,         // cmdLanguage(0)
    TopicEnglish = 10130,       // cmdLanguage(1)
    TopicNoticePicture = 10140, // picCopyright
    TopicNotice = 10150,        // lblCopyright
    TopicRefresh = 10160,       // cmdRefresh
    TopicUpOneLevel = 10170,    // cmdUpOneLevel
    TopicSavePath = 10180,      // cmdSavePath (and mnuSavePathHelp)
    TopicBrowse = 10190,        // cmdBrowse
    TopicRecallPath = 10200,    // cmdRecallPath (and mnuRecallPathHelp)
    TopicEnd = 10210,           // cmdEnd
    TopicIconGrid = 10220,      // grdControl (and mnuIconsHelp)
    TopicNextSet = 10230,       // cmdScan
    TopicIconSavePng = 10240,   // mnuIconsSavePng
    TopicIconSaveIco = 10250,   // mnuIconsSaveIco
    TopicIconSaveAll = 10260,   // mnuIconsSaveAll
    TopicIconDetails = 10270,   // mnuIconsDetails
    // Recall dialog
    TopicSavedPathsList = 20010, // lstSavedPaths
    TopicRecallCancel = 20020,   // cmdCancel
    TopicRecallEdit = 20030,     // cmdEdit
    TopicRecall = 20040,         // cmdRecall
    // Icon details window
    TopicDetailsFile = 30010,      // lblFile
    TopicDetailsIndex = 30020,     // lblIndex
    TopicDetailsGroup = 30030,     // lblGroup
    TopicDetailsLanguage = 30040,  // lblLanguage
    TopicDetailsImage = 30050,     // picImage
    TopicDetailsImageSize = 30060, // lblImage
    TopicDetailsSavePng = 30070,   // cmdSavePng
    TopicDetailsCopy = 30080,      // cmdCopy
    TopicDetailsSaveIco = 30090,   // cmdSaveIco
    TopicDetailsClose = 30100,     // cmdClose
    // About dialog
    TopicAboutIcon = 90010,        // picIcon
    TopicAboutTitle = 90020,       // lblTitle
    TopicAboutVersion = 90030,     // lblVersion
    TopicAboutDescription = 90040, // lblDescription
    TopicAboutDisclaimer = 90050,  // lblDisclaimer
    TopicAboutOk = 90060,          // cmdOK
    TopicAboutSysInfo = 90070,     // cmdSysInfo
};

inline constexpr std::array<int, 48> kHelpTopics{
    TopicFolderTree,
    TopicCurrentPath,
    TopicInfo,
    TopicCaseSensitive,
    TopicWhatToBrowse,
    TopicBrowseExe,
    TopicBrowseDll,
    TopicLevels,
    TopicAllLevels,
    TopicLevelsUpDown,
    TopicHelp,
    TopicGreek,
    TopicEnglish,
    TopicNoticePicture,
    TopicNotice,
    TopicRefresh,
    TopicUpOneLevel,
    TopicSavePath,
    TopicBrowse,
    TopicRecallPath,
    TopicEnd,
    TopicIconGrid,
    TopicNextSet,
    TopicIconSavePng,
    TopicIconSaveIco,
    TopicIconSaveAll,
    TopicIconDetails,
    TopicSavedPathsList,
    TopicRecallCancel,
    TopicRecallEdit,
    TopicRecall,
    TopicDetailsFile,
    TopicDetailsIndex,
    TopicDetailsGroup,
    TopicDetailsLanguage,
    TopicDetailsImage,
    TopicDetailsImageSize,
    TopicDetailsSavePng,
    TopicDetailsCopy,
    TopicDetailsSaveIco,
    TopicDetailsClose,
    TopicAboutIcon,
    TopicAboutTitle,
    TopicAboutVersion,
    TopicAboutDescription,
    TopicAboutDisclaimer,
    TopicAboutOk,
    TopicAboutSysInfo,
};

enum class HelpLanguage { English, Greek };

struct HelpLookup {
    enum class Outcome { Found, MissingFile, UnreadableFile, MissingTopic };

    Outcome outcome = Outcome::Found;
    QString text; // the topic's text, or the engine's message when the topic cannot be shown

    bool found() const { return outcome == Outcome::Found; }
};

// The topics of one help file's text, by number.
QHash<int, QString> ParseHelpText(const QByteArray& utf8);

class HelpEngine {
public:
    // The text of topic in file, or the engine's message in language.
    HelpLookup lookup(const QString& file, int topic, HelpLanguage language);

    // Forgets every parsed file.
    void clear();

private:
    struct Parsed {
        QDateTime modified;
        qint64 size = -1;
        QHash<int, QString> topics;
    };
    std::mutex mutex_;
    QHash<QString, Parsed> cache_;
};

// The program's one engine.
HelpEngine& SharedHelpEngine();

// Shorthand: the topic from the program's engine.
inline HelpLookup LookupHelpTopic(const QString& file, int topic, HelpLanguage language) {
    return SharedHelpEngine().lookup(file, topic, language);
}

} // namespace vesmarin
