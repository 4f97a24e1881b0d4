// Real Windows files no one here wrote (Debian's nsis-common and win32-loader), checked against what
// icoutils' wrestool and icotool make of the same files.
#include "platform/iconreader/IconReader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>
#include <sstream>

using namespace vesmarin::iconreader;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::string quote(const std::string& s) {
    return "'" + s + "'";
}

// A scratch file of this test's own (ctest runs tests side by side).
fs::path scratch(const std::string& suffix) {
    return fs::temp_directory_path() /
           (std::string("vesmarin-") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
            suffix);
}

// Runs a shell command with its standard output into a string; the exit status in status.
std::string run(const std::string& command, int& status) {
    const fs::path out = scratch(".out");
    status = std::system((command + " > " + quote(out.string()) + " 2>/dev/null").c_str());
    std::ifstream f(out);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

bool haveTool(const char* name) {
    int status = 0;
    run(std::string("command -v ") + name, status);
    return status == 0;
}

std::vector<std::uint32_t> readPng(const fs::path& path, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<std::uint32_t> out;
    if (png_image_begin_read_from_file(&image, path.string().c_str()) == 0)
        return out;
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) == 0)
        return out;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
        out.push_back(static_cast<std::uint32_t>(rgba[i + 3]) << 24 | rgba[i] << 16 | rgba[i + 1] << 8 |
                      rgba[i + 2]);
    return out;
}

// Every image of the group whose own size our choice picks for that size is compared with icotool's
// PNG of it: the same transparency, and the same colour wherever anything shows.
void expectSamePixels(const IconFile& ours, int index, const fs::path& icoFile, const std::string& label) {
    const auto info = ours.info(index);
    ASSERT_TRUE(info) << label;
    const fs::path png = scratch(".png");
    int compared = 0;
    for (std::size_t k = 0; k < info->images.size(); ++k) {
        const ImageInfo& im = info->images[k];
        if (im.width != im.height || ours.info(index, im.width)->chosen != static_cast<int>(k))
            continue;
        int status = 0;
        fs::remove(png);
        run("icotool -x --index=" + std::to_string(k + 1) + " -o " + quote(png.string()) + " " +
                quote(icoFile.string()),
            status);
        int w = 0, h = 0;
        const auto theirs = readPng(png, w, h);
        if (w == 0)
            continue; // icotool refuses images whose stored size is wrong; the reader falls back for them
        ASSERT_EQ(w, im.width) << label << " image " << k;
        const auto mine = ours.picture(index, im.width);
        ASSERT_TRUE(mine) << label << " image " << k;
        int differing = 0;
        for (std::size_t p = 0; p < theirs.size(); ++p) {
            const std::uint32_t a = theirs[p], b = mine->pixels[p];
            const bool same = (a >> 24) == (b >> 24) && ((a >> 24) == 0 || (a & 0xFFFFFF) == (b & 0xFFFFFF));
            differing += !same;
        }
        EXPECT_EQ(differing, 0) << label << " image " << k << " (" << im.width << "x" << im.height << ")";
        ++compared;
    }
    EXPECT_GT(compared, 0) << label;
}

std::vector<fs::path> filesIn(const fs::path& dir, const std::string& extension = "") {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.is_regular_file() && (extension.empty() || e.path().extension() == extension))
            out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(RealFiles, ProgramsMatchWrestool) {
    if (!haveTool("wrestool") || !haveTool("icotool"))
        GTEST_SKIP() << "icoutils is not installed";
    std::vector<fs::path> files = filesIn("/usr/share/nsis/Stubs");
    std::erase_if(files, [](const fs::path& p) { return p.filename() == "uninst"; }); // an .ico file
    if (fs::exists("/usr/share/win32/win32-loader.exe"))
        files.push_back("/usr/share/win32/win32-loader.exe");
    if (files.empty())
        GTEST_SKIP() << "nsis-common and win32-loader are not installed";

    const fs::path extracted = scratch(".ico");
    for (const fs::path& file : files) {
        int status = 0;
        const std::string listing = run("wrestool -l " + quote(file.string()), status);
        int groups = 0;
        for (std::size_t at = 0; (at = listing.find("--type=14 ", at)) != std::string::npos; ++at)
            ++groups;
        const IconFile ours(file.string());
        ASSERT_EQ(ours.count(), groups) << file;
        ASSERT_GT(groups, 0) << file;
        for (int i = 0; i < groups; ++i) {
            const auto info = ours.info(i);
            ASSERT_TRUE(info) << file << " " << i;
            const std::string name = info->name.empty() ? std::to_string(info->id) : info->name;
            fs::remove(extracted);
            run("wrestool -x -t14 --name=" + quote(name) + " --language=" + std::to_string(info->language) +
                    " -o " + quote(extracted.string()) + " " + quote(file.string()),
                status);
            const IconFile theirs = IconFile::fromBytes(slurp(extracted));
            ASSERT_EQ(theirs.kind(), FileKind::Ico) << file << " " << name;
            const auto a = ours.storedGroup(i), b = theirs.storedGroup(0);
            ASSERT_TRUE(a && b) << file;
            ASSERT_EQ(a->images.size(), b->images.size()) << file;
            for (std::size_t k = 0; k < a->images.size(); ++k) {
                EXPECT_EQ(*a->images[k].data, *b->images[k].data) << file << " image " << k;
                EXPECT_EQ(a->images[k].bitCount, b->images[k].bitCount) << file << " image " << k;
            }
            expectSamePixels(ours, i, extracted, file.string());
        }
    }
    for (const char* suffix : {".ico", ".png", ".out"})
        fs::remove(scratch(suffix));
}

TEST(RealFiles, IcoFilesMatchIcotool) {
    if (!haveTool("icotool"))
        GTEST_SKIP() << "icoutils is not installed";
    std::vector<fs::path> files = filesIn("/usr/share/nsis/Contrib/Graphics/Icons", ".ico");
    if (fs::exists("/usr/share/nsis/Stubs/uninst"))
        files.push_back("/usr/share/nsis/Stubs/uninst");
    if (files.empty())
        GTEST_SKIP() << "nsis-common is not installed";
    for (const fs::path& file : files) {
        int status = 0;
        const std::string listing = run("icotool -l " + quote(file.string()), status);
        const auto lines = static_cast<std::size_t>(std::count(listing.begin(), listing.end(), '\n'));
        const IconFile ours(file.string());
        ASSERT_EQ(ours.count(), 1) << file;
        EXPECT_EQ(ours.info(0)->images.size(), lines) << file;
        expectSamePixels(ours, 0, file, file.string());
    }
    for (const char* suffix : {".png", ".out"})
        fs::remove(scratch(suffix));
}

} // namespace
