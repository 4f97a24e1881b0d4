// The file formats: which icon an index stands for, and what a damaged file gives.
#include "platform/iconreader/IconReader.h"

#include "IconFileBuilder.h"
#include "platform/iconwriter/IconWriter.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace vesmarin::iconreader;
using namespace vesmarin::testing;

namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// A group of one solid 32x32 image of the given colour.
std::vector<Resource> solidGroup(std::uint16_t groupId, const std::string& name, std::uint16_t imageId,
                                 std::uint32_t rgb, std::uint16_t language = 1033) {
    return iconGroup(groupId, name, imageId, {{GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, rgb)}},
                     language);
}

std::vector<Resource> join(std::initializer_list<std::vector<Resource>> parts) {
    std::vector<Resource> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The colour of the middle pixel of each icon, index by index until the first without one.
std::vector<std::uint32_t> colours(const IconFile& f) {
    std::vector<std::uint32_t> out;
    for (int i = 0;; ++i) {
        const auto p = f.draw(i, 0);
        if (!p)
            return out;
        out.push_back(p->at(16, 16) & 0xFFFFFF);
    }
}

struct Format {
    const char* name;
    std::function<Bytes(const std::vector<Resource>&)> build;
    FileKind kind;
};

class EveryFormat : public ::testing::TestWithParam<Format> {};

INSTANTIATE_TEST_SUITE_P(
    Formats, EveryFormat,
    ::testing::Values(Format{"PE32", [](const auto& r) { return buildPe(r); }, FileKind::Pe32},
                      Format{"PE32plus", [](const auto& r) { return buildPe(r, {true}); },
                             FileKind::Pe32Plus},
                      Format{"PE32_data_in_another_section",
                             [](const auto& r) {
                                 return buildPe(r, {false, true});
                             },
                             FileKind::Pe32},
                      Format{"NE", [](const auto& r) { return buildNe(r); }, FileKind::Ne}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_P(EveryFormat, IndexesFollowTheStoredOrder) {
    // Named groups first, then numbers, each as stored (not sorted): Z, A, 9, 2.
    const auto res = join({solidGroup(0, "Z", 1, kRed), solidGroup(0, "A", 2, kGreen),
                           solidGroup(9, "", 3, kBlue), solidGroup(2, "", 4, kWhite)});
    const IconFile f = IconFile::fromBytes(GetParam().build(res));
    EXPECT_EQ(f.kind(), GetParam().kind);
    EXPECT_TRUE(f.problem().empty());
    ASSERT_EQ(f.count(), 4);
    EXPECT_EQ(colours(f), (std::vector<std::uint32_t>{kRed, kGreen, kBlue, kWhite}));
    EXPECT_EQ(f.info(0)->name, "Z");
    EXPECT_EQ(f.info(1)->name, "A");
    EXPECT_EQ(f.info(2)->id, 9);
    EXPECT_TRUE(f.info(2)->name.empty());
    EXPECT_FALSE(f.draw(4, 0));
    EXPECT_FALSE(f.draw(-1, 0));
}

TEST_P(EveryFormat, MissingImagesGiveNoIconButOthersStillCount) {
    // Group 1's only image does not exist; group 2 lacks one of two; group 3 is whole.
    auto broken = solidGroup(1, "", 50, kRed);
    broken.erase(broken.begin()); // drop its image
    auto half = iconGroup(2, "", 60,
                          {{GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, kRed)},
                           {GroupEntry{16, 16, 0, 1, 24}, solidDib(16, 16, 24, kGreen)}});
    half.erase(half.begin()); // the better 32x32 image is gone: the 16x16 one is taken
    const IconFile f =
        IconFile::fromBytes(GetParam().build(join({broken, half, solidGroup(3, "", 70, kBlue)})));
    ASSERT_EQ(f.count(), 3);
    EXPECT_FALSE(f.draw(0, 0));
    EXPECT_FALSE(f.storedGroup(0));
    EXPECT_EQ(f.draw(1, 0)->at(0, 0) & 0xFFFFFF, kGreen);
    EXPECT_EQ(f.info(1)->chosen, 1);
    EXPECT_FALSE(f.info(1)->images[0].present);
    EXPECT_EQ(f.storedGroup(1)->images.size(), 1u);
    EXPECT_EQ(f.draw(2, 0)->at(0, 0) & 0xFFFFFF, kBlue);
}

TEST_P(EveryFormat, WithoutIconImagesAtAllNoGroupDraws) {
    auto res = join({solidGroup(1, "", 1, kRed), solidGroup(2, "", 2, kRed)});
    std::erase_if(res, [](const Resource& r) { return r.type == 3; });
    const IconFile f = IconFile::fromBytes(GetParam().build(res));
    EXPECT_EQ(f.count(), 2);
    EXPECT_TRUE(colours(f).empty());
}

TEST_P(EveryFormat, WithoutGroupsThereAreNoIcons) {
    auto res = solidGroup(1, "", 1, kRed);
    res.pop_back();                                // the group itself
    res.push_back({5, "", 1, 1033, Bytes(40, 1)}); // some other resource
    const IconFile f = IconFile::fromBytes(GetParam().build(res));
    EXPECT_EQ(f.kind(), GetParam().kind);
    EXPECT_EQ(f.count(), 0);
    EXPECT_FALSE(f.draw(0, 0));
}

TEST_P(EveryFormat, StoredGroupRoundTripsThroughAnIcoFile) {
    const auto res = iconGroup(
        7, "", 1,
        {{GroupEntry{16, 16, 16, 1, 4}, solidDib(16, 16, 4, kRed)},
         {GroupEntry{0, 0, 0, 1, 32}, encodePng(256, 256, std::vector<std::uint32_t>(65536, 0x80123456))}});
    const IconFile f = IconFile::fromBytes(GetParam().build(res));
    const auto group = f.storedGroup(0);
    ASSERT_TRUE(group);
    ASSERT_EQ(group->images.size(), 2u);
    const IconFile ico = IconFile::fromBytes(vesmarin::iconwriter::encodeIco(*group));
    ASSERT_EQ(ico.kind(), FileKind::Ico);
    ASSERT_EQ(ico.count(), 1);
    for (int size : {16, 32, 256})
        EXPECT_EQ(ico.picture(0, size)->pixels, f.picture(0, size)->pixels) << size;
    EXPECT_EQ(*ico.storedGroup(0)->images[1].data, *group->images[1].data);
    EXPECT_EQ(f.info(0, 256)->chosen, 1); // 0 in the directory means 256
    EXPECT_EQ(f.info(0, 16)->chosen, 0);
    EXPECT_EQ(f.info(0)->images[1].format, ImageFormat::Png);
    EXPECT_EQ(f.picture(0, 256)->at(0, 0), 0x80123456u);
}

TEST(IconReader, TakesTheFirstLanguageOfAGroup) {
    // Group 1 exists in German first, then English: the German one (blue) is taken, as stored.
    auto res = join({solidGroup(1, "", 1, kBlue, 1031), solidGroup(1, "", 2, kRed, 1033)});
    const IconFile f = IconFile::fromBytes(buildPe(res));
    ASSERT_EQ(f.count(), 1);
    EXPECT_EQ(f.info(0)->language, 1031);
    EXPECT_EQ(colours(f), std::vector<std::uint32_t>{kBlue});
}

TEST(IconReader, DepthZeroInTheDirectoryComesFromTheImage) {
    // Both say 0 bits in the directory; the headers say 4 and 32, so the 32-bit one is taken.
    const IconFile f =
        IconFile::fromBytes(buildPe(iconGroup(1, "", 1,
                                              {{GroupEntry{32, 32, 0, 1, 0}, solidDib(32, 32, 4, kRed)},
                                               {GroupEntry{32, 32, 0, 1, 0}, solidDib(32, 32, 32, kBlue)}})));
    EXPECT_EQ(f.info(0)->chosen, 1);
    EXPECT_EQ(f.info(0)->images[0].bitCount, 4);
    EXPECT_EQ(colours(f), std::vector<std::uint32_t>{kBlue});
}

TEST(IconReader, ADamagedImageGivesWayToTheNextBest) {
    Bytes cut = solidDib(32, 32, 24, kRed);
    cut.resize(cut.size() / 2); // its colour bits end early
    const IconFile f = IconFile::fromBytes(
        buildPe(iconGroup(1, "", 1,
                          {{GroupEntry{32, 32, 0, 1, 24}, cut},
                           {GroupEntry{16, 16, 0, 1, 24}, solidDib(16, 16, 24, kGreen)}})));
    EXPECT_EQ(f.info(0)->chosen, 0);
    EXPECT_EQ(colours(f), std::vector<std::uint32_t>{kGreen});
}

TEST(IconReader, IcoFileHoldsOneIcon) {
    const Bytes ico = buildIco({{GroupEntry{16, 16, 0, 1, 24}, solidDib(16, 16, 24, kRed)},
                                {GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, kGreen)}});
    const IconFile f = IconFile::fromBytes(ico);
    EXPECT_EQ(f.kind(), FileKind::Ico);
    EXPECT_EQ(colours(f), std::vector<std::uint32_t>{kGreen});
    EXPECT_EQ(vesmarin::iconwriter::encodeIco(*f.storedGroup(0)), ico);
    EXPECT_FALSE(f.info(1));
}

TEST(IconReader, FilesThatAreNoneOfTheFormatsHaveNoIcons) {
    const auto dir = std::filesystem::temp_directory_path() / "vesmarin-iconreader-test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "empty.exe").close();
    std::ofstream(dir / "text.dll") << "MZ but not much else";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {(dir / "missing.exe").string(), "cannot open: No such file or directory"},
        {dir.string(), "cannot open: is a folder"},
        {(dir / "empty.exe").string(), "not a PE, NE or icon file"},
        {(dir / "text.dll").string(), "not a PE, NE or icon file"},
    };
    for (const auto& [path, problem] : cases) {
        const IconFile f(path);
        EXPECT_EQ(f.count(), 0) << path;
        EXPECT_EQ(f.kind(), FileKind::None) << path;
        EXPECT_EQ(f.problem(), problem) << path;
        EXPECT_FALSE(f.draw(0, 0)) << path;
    }
    std::filesystem::remove_all(dir);
    EXPECT_EQ(IconFile().count(), 0);
}

// ---- damaged files ----

TEST(IconReader, TruncatedFilesNeverReadPastTheirEnd) {
    // Cut every sample at every length: the reader must neither crash nor invent icons.
    for (const auto& [name, bytes] : sampleFiles()) {
        const IconFile whole = IconFile::fromBytes(bytes);
        for (std::size_t n = 0; n < bytes.size(); n += (n < 2048 ? 1 : 7)) {
            const IconFile f =
                IconFile::fromBytes(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n)));
            ASSERT_LE(f.count(), whole.count()) << name << " cut at " << n;
            for (int i = 0; i < f.count(); ++i) {
                (void)f.info(i);
                (void)f.draw(i, 0);
                (void)f.storedGroup(i);
            }
        }
    }
}

TEST(IconReader, DirectoryLoopsEndAndHugeCountsAreRefused) {
    PeLayout layout;
    const Bytes pe = buildPe(join({solidGroup(1, "", 1, kRed), solidGroup(2, "", 2, kGreen)}), {}, &layout);
    const auto u32 = [](const Bytes& b, std::size_t at) {
        return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
    };
    const auto set32 = [](Bytes& b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const std::size_t root = layout.rsrcFileOffset;
    // The types are 3 then 14; find the group type's name directory and its first name's language directory.
    std::size_t groupNames = 0;
    for (std::size_t e = root + 16; e < root + 32; e += 8)
        if (u32(pe, e) == 14)
            groupNames = root + (u32(pe, e + 4) & 0x7FFFFFFF);
    ASSERT_NE(groupNames, 0u);
    const std::size_t firstLanguages = root + (u32(pe, groupNames + 20) & 0x7FFFFFFF);

    Bytes toRoot = pe; // the first group's language directory is the root again
    set32(toRoot, groupNames + 20, 0x80000000u);
    Bytes toItself = pe; // a language directory whose entry is itself
    set32(toItself, firstLanguages + 20, 0x80000000u | static_cast<std::uint32_t>(firstLanguages - root));
    Bytes shared = pe; // both groups share one language directory: the second is refused
    set32(shared, groupNames + 28, u32(pe, groupNames + 20));
    Bytes hugeCount = pe; // 65535 + 65535 entries in the root of a small file
    set32(hugeCount, root + 12, 0xFFFFFFFFu);

    EXPECT_EQ(colours(IconFile::fromBytes(toRoot)), std::vector<std::uint32_t>{});
    EXPECT_EQ(IconFile::fromBytes(toRoot).draw(1, 0)->at(0, 0) & 0xFFFFFF, kGreen);
    EXPECT_EQ(colours(IconFile::fromBytes(toItself)), std::vector<std::uint32_t>{});
    EXPECT_EQ(colours(IconFile::fromBytes(shared)), std::vector<std::uint32_t>{kRed});
    EXPECT_EQ(IconFile::fromBytes(hugeCount).count(), 0);
    EXPECT_EQ(IconFile::fromBytes(hugeCount).kind(), FileKind::Pe32);
}

TEST(IconReader, SectionsNeedNotBeListedInAddressOrder) {
    PeLayout layout;
    Bytes pe = buildPe(solidGroup(1, "", 1, kRed), {false, true}, &layout);
    std::swap_ranges(pe.begin() + static_cast<std::ptrdiff_t>(layout.sectionTableOffset),
                     pe.begin() + static_cast<std::ptrdiff_t>(layout.sectionTableOffset + 40),
                     pe.begin() + static_cast<std::ptrdiff_t>(layout.sectionTableOffset + 40));
    EXPECT_EQ(colours(IconFile::fromBytes(pe)), std::vector<std::uint32_t>{kRed});
}

TEST(IconReader, SizesPastTheEndAreRefused) {
    PeLayout layout;
    const Bytes pe = buildPe(solidGroup(1, "", 1, kRed), {}, &layout);
    // The data entries follow the three levels of directories; make every size enormous in turn.
    for (std::size_t at = layout.rsrcFileOffset; at + 8 <= pe.size(); at += 4) {
        Bytes b = pe;
        b[at + 3] = 0x7F;
        const IconFile f = IconFile::fromBytes(b);
        for (int i = 0; i < f.count(); ++i)
            (void)f.draw(i, 0);
    }
    // An .ico entry claiming more bytes than the file has.
    Bytes ico = buildIco({{GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, kRed)}});
    ico[6 + 8 + 2] = 0x10;
    EXPECT_EQ(IconFile::fromBytes(ico).count(), 0);
}

} // namespace
