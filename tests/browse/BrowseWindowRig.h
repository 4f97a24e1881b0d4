#pragma once

// The real main window over a temporary folder of test programs, for driving Browse, the icon sets and the
// icon menu as a user would.

#include "app/MainWindowRig.h"
#include "platform/IconFileBuilder.h"

namespace vesmarin::test {

// The colour of icon k of program number p, so every icon of a test can be told apart in the grid.
inline std::uint32_t IconColour(int program, int icon) {
    return static_cast<std::uint32_t>((program & 0xFF) << 16 | (icon & 0xFFFF));
}

inline void WriteBytes(const QString& path, const testing::Bytes& bytes) {
    WriteFile(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

// A program holding `icons` icons, each one 32x32 image of a solid colour.
inline void WriteProgram(const QString& path, int program, int icons) {
    std::vector<testing::Resource> resources;
    for (std::uint16_t id = 1; id <= icons; ++id) {
        const auto group = testing::iconGroup(
            id, "", id, {{{32, 32, 16, 1, 4}, testing::solidDib(32, 32, 4, IconColour(program, id - 1))}});
        resources.insert(resources.end(), group.begin(), group.end());
    }
    WriteBytes(path, testing::buildPe(resources));
}

struct BrowseWindowRig {
    // Many small files are made far faster in memory than on some disks.
    QTemporaryDir data{QDir(QStringLiteral("/dev/shm")).exists()
                           ? QStringLiteral("/dev/shm/vesmarin-browse-XXXXXX")
                           : QString()};
    MainWindowRig m;
    MainWindow& window = *m.window;
    IconBrowser& browser = window.iconBrowser();
    IconGrid& grid = *m.control<IconGrid>("grdControl");

    QString path(const QString& name) const { return data.filePath(name); }

    // Starts the window with the data folder as the current path, in the given language, and shows it.
    void load(bool greek = false, const std::string& options = "") {
        m.loadWith("[General]\nLanguage=" + std::string(greek ? "1" : "0") +
                   "\nInitialPath=" + data.path().toStdString() + "\n[Options]\nLevels=0\n" + options);
        window.show();
    }

    // Clicks Browse ("cmdBrowse") or the next set ("cmdScan") and gives the text of the one message box that
    // ends it (none when the button is disabled).
    QString press(const char* button = "cmdBrowse") {
        const std::size_t before = m.ui.messages.size();
        m.ui.answer(MsgButton::Ok);
        QTest::mouseClick(m.control<QPushButton>(button), Qt::LeftButton);
        return m.ui.messages.size() == before + 1 ? m.ui.messages.back().request.text : "<no message box>";
    }

    // The colour at the centre of a cell's picture, or -1 for an empty cell.
    std::int64_t cellColour(int row, int column) const {
        const QImage p = grid.picture(row, column);
        return p.isNull() ? -1 : std::int64_t{p.pixel(16, 16) & 0xFFFFFF};
    }

    void click(int row, int column, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(grid.viewport(), button, {},
                          grid.visualRect(grid.model()->index(row, column)).center());
    }
    // Clicks cell `number` (from 1) and chooses an item (by name) of the icon menu that opens.
    void choose(int number, const char* item) {
        m.ui.chooseMenuItem(QString::fromLatin1(item));
        click((number - 1) / grid.columnCount(), (number - 1) % grid.columnCount());
    }
};

} // namespace vesmarin::test
