// The file formats: which icon an index stands for, and what a damaged file gives.
#include "platform/iconreader/IconReader.h"

#include "IconFileBuilder.h"
#include "platform/iconwriter/IconWriter.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace vesmarin::iconreader;
using namespace vesmarin::testing;

namespace {

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;
using Colours = std::vector<std::uint32_t>;
using Resources = std::vector<Resource>;

// A group of one solid 32x32 image of the given colour.
Resources solidGroup(std::uint16_t groupId, const std::string& name, std::uint16_t imageId, std::uint32_t rgb,
                     std::uint16_t language = 1033) {
    return iconGroup(groupId, name, imageId, {{GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, rgb)}},
                     language);
}

Resources join(std::initializer_list<Resources> parts) {
    Resources out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The colour of the middle pixel of each icon, index by index until the first without one.
Colours colours(const IconFile& f) {
    Colours out;
    for (int i = 0; f.draw(i, 0); ++i)
        out.push_back(f.draw(i, 0)->at(16, 16) & 0xFFFFFF);
    return out;
}

struct Format {
    const char* name;
    FileKind kind;
    PeOptions pe;
    IconFile build(const Resources& r) const {
        return IconFile::fromBytes(kind == FileKind::Ne ? buildNe(r) : buildPe(r, pe));
    }
};
const Format kFormats[] = {{"PE32", FileKind::Pe32, {}},
                           {"PE32plus", FileKind::Pe32Plus, {true}},
                           {"PE32_data_in_another_section", FileKind::Pe32, {false, true}},
                           {"NE", FileKind::Ne, {}}};

class EveryFormat : public ::testing::TestWithParam<Format> {};
INSTANTIATE_TEST_SUITE_P(Formats, EveryFormat, ::testing::ValuesIn(kFormats),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_P(EveryFormat, IndexesFollowTheStoredOrder) {
    // Named groups first, then numbers, each as stored (not sorted): Z, A, 9, 2.
    const IconFile f = GetParam().build(join({solidGroup(0, "Z", 1, kRed), solidGroup(0, "A", 2, kGreen),
                                              solidGroup(9, "", 3, kBlue), solidGroup(2, "", 4, kWhite)}));
    EXPECT_EQ(f.kind(), GetParam().kind);
    EXPECT_TRUE(f.problem().empty());
    ASSERT_EQ(f.count(), 4);
    EXPECT_EQ(colours(f), (Colours{kRed, kGreen, kBlue, kWhite}));
    EXPECT_EQ(f.info(0)->name + f.info(1)->name + f.info(2)->name, "ZA");
    EXPECT_EQ(f.info(2)->id, 9);
    EXPECT_FALSE(f.draw(-1, 0));
}

TEST_P(EveryFormat, MissingImagesOrGroupsGiveNoIconButOthersStillCount) {
    // Group 1's only image does not exist; group 2 lacks the better of two; group 3 is whole.
    auto broken = solidGroup(1, "", 50, kRed),
         half = iconGroup(2, "", 60,
                          {{GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, kRed)},
                           {GroupEntry{16, 16, 0, 1, 24}, solidDib(16, 16, 24, kGreen)}});
    broken.erase(broken.begin());
    half.erase(half.begin());
    const IconFile f = GetParam().build(join({broken, half, solidGroup(3, "", 70, kBlue)}));
    ASSERT_EQ(f.count(), 3);
    EXPECT_FALSE(f.draw(0, 0) || f.storedGroup(0));
    EXPECT_EQ(f.draw(1, 0)->at(0, 0) & 0xFFFFFF, kGreen);
    EXPECT_EQ(f.info(1)->chosen, 1);
    EXPECT_FALSE(f.info(1)->images[0].present);
    EXPECT_EQ(f.storedGroup(1)->images.size(), 1u);
    EXPECT_EQ(f.draw(2, 0)->at(0, 0) & 0xFFFFFF, kBlue);

    // No icon images at all: the groups count, none draws. No groups: no icons.
    auto noImages = join({solidGroup(1, "", 1, kRed), solidGroup(2, "", 2, kRed)});
    std::erase_if(noImages, [](const Resource& r) { return r.type == 3; });
    EXPECT_EQ(GetParam().build(noImages).count(), 2);
    EXPECT_TRUE(colours(GetParam().build(noImages)).empty());
    const IconFile none =
        GetParam().build({{3, "", 1, 1033, solidDib(32, 32, 24, kRed)}, {5, "", 1, 1033, Bytes(40, 1)}});
    EXPECT_EQ(none.kind(), GetParam().kind);
    EXPECT_EQ(none.count(), 0);
}

TEST_P(EveryFormat, StoredGroupRoundTripsThroughAnIcoFile) {
    const IconFile f = GetParam().build(iconGroup(
        7, "", 1,
        {{GroupEntry{16, 16, 16, 1, 4}, solidDib(16, 16, 4, kRed)},
         {GroupEntry{0, 0, 0, 1, 32}, encodePng(256, 256, std::vector<std::uint32_t>(65536, 0x80123456))}}));
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
    const IconFile f = IconFile::fromBytes(
        buildPe(join({solidGroup(1, "", 1, kBlue, 1031), solidGroup(1, "", 2, kRed, 1033)})));
    ASSERT_EQ(f.count(), 1);
    EXPECT_EQ(f.info(0)->language, 1031);
    EXPECT_EQ(colours(f), Colours{kBlue});
}

TEST(IconReader, DepthZeroInTheDirectoryComesFromTheImage) {
    // Both say 0 bits in the directory; the headers say 4 and 32, so the 32-bit one is taken.
    const IconFile f =
        IconFile::fromBytes(buildPe(iconGroup(1, "", 1,
                                              {{GroupEntry{32, 32, 0, 1, 0}, solidDib(32, 32, 4, kRed)},
                                               {GroupEntry{32, 32, 0, 1, 0}, solidDib(32, 32, 32, kBlue)}})));
    EXPECT_EQ(f.info(0)->chosen, 1);
    EXPECT_EQ(f.info(0)->images[0].bitCount, 4);
    EXPECT_EQ(colours(f), Colours{kBlue});
}

TEST(IconReader, ADamagedImageGivesWayToTheNextBest) {
    Bytes cut = solidDib(32, 32, 24, kRed);
    cut.resize(cut.size() / 2); // its colour bits end early
    const IconFile f = IconFile::fromBytes(
        buildPe(iconGroup(1, "", 1,
                          {{GroupEntry{32, 32, 0, 1, 24}, cut},
                           {GroupEntry{16, 16, 0, 1, 24}, solidDib(16, 16, 24, kGreen)}})));
    EXPECT_EQ(f.info(0)->chosen, 0);
    EXPECT_EQ(colours(f), Colours{kGreen});
}

TEST(IconReader, IcoFileHoldsOneIcon) {
    const Bytes ico = buildIco({{GroupEntry{16, 16, 0, 1, 24}, solidDib(16, 16, 24, kRed)},
                                {GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, kGreen)}});
    const IconFile f = IconFile::fromBytes(ico);
    EXPECT_EQ(f.kind(), FileKind::Ico);
    EXPECT_EQ(colours(f), Colours{kGreen});
    EXPECT_EQ(vesmarin::iconwriter::encodeIco(*f.storedGroup(0)), ico);
    EXPECT_FALSE(f.info(1));
}

TEST(IconReader, FilesThatAreNoneOfTheFormatsHaveNoIcons) {
    const IconFile folder(std::filesystem::temp_directory_path().string()),
        text = IconFile::fromBytes({'M', 'Z', ' ', 'x'}), empty;
    EXPECT_EQ(folder.problem(), "cannot open: is a folder");
    EXPECT_EQ(text.problem(), "not a PE, NE or icon file");
    for (const IconFile* f : {&folder, &text, &empty})
        EXPECT_TRUE(f->count() == 0 && f->kind() == FileKind::None && !f->draw(0, 0));
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
            for (int i = 0; i < f.count(); ++i)
                (void)f.info(i), (void)f.draw(i, 0), (void)f.storedGroup(i);
        }
    }
}

TEST(IconReader, DirectoryLoopsEndAndHugeCountsAreRefused) {
    PeLayout layout;
    const Bytes pe = buildPe(join({solidGroup(1, "", 1, kRed), solidGroup(2, "", 2, kGreen)}), {}, &layout);
    const std::size_t root = layout.rsrcFileOffset;
    // The types are 3 then 14: the group type's name directory, and its first name's language directory.
    ASSERT_EQ(read32(pe, root + 24), 14u);
    const std::size_t groupNames = root + (read32(pe, root + 28) & 0x7FFFFFFF);
    const std::size_t firstLanguages = root + (read32(pe, groupNames + 20) & 0x7FFFFFFF);
    // The first group's language directory is the root again; a language directory whose entry is itself.
    const IconFile toRoot = IconFile::fromBytes(patched(pe, groupNames + 20, 0x80000000u, 4));
    EXPECT_EQ(colours(toRoot), Colours{});
    EXPECT_EQ(toRoot.draw(1, 0)->at(0, 0) & 0xFFFFFF, kGreen);
    EXPECT_EQ(
        colours(IconFile::fromBytes(patched(
            pe, firstLanguages + 20, 0x80000000u | static_cast<std::uint32_t>(firstLanguages - root), 4))),
        Colours{});
    // Both groups share one language directory: the second is refused.
    EXPECT_EQ(colours(IconFile::fromBytes(patched(pe, groupNames + 28, read32(pe, groupNames + 20), 4))),
              Colours{kRed});
    // 65535 + 65535 entries in the root of a small file.
    const IconFile hugeCount = IconFile::fromBytes(patched(pe, root + 12, 0xFFFFFFFFu, 4));
    EXPECT_EQ(hugeCount.count(), 0);
    EXPECT_EQ(hugeCount.kind(), FileKind::Pe32);
}

TEST(IconReader, SectionsNeedNotBeListedInAddressOrder) {
    PeLayout layout;
    Bytes pe = buildPe(solidGroup(1, "", 1, kRed), {false, true}, &layout);
    const auto table = pe.begin() + static_cast<std::ptrdiff_t>(layout.sectionTableOffset);
    std::swap_ranges(table, table + 40, table + 40);
    EXPECT_EQ(colours(IconFile::fromBytes(pe)), Colours{kRed});
}

TEST(IconReader, SizesPastTheEndAreRefused) {
    PeLayout layout;
    const Bytes pe = buildPe(solidGroup(1, "", 1, kRed), {}, &layout);
    // The data entries follow the three levels of directories; make every size enormous in turn.
    for (std::size_t at = layout.rsrcFileOffset; at + 8 <= pe.size(); at += 4) {
        const IconFile f = IconFile::fromBytes(patched(pe, at + 3, 0x7F));
        for (int i = 0; i < f.count(); ++i)
            (void)f.draw(i, 0);
    }
    // An .ico entry claiming more bytes than the file has.
    EXPECT_EQ(IconFile::fromBytes(
                  patched(buildIco({{GroupEntry{32, 32, 0, 1, 24}, solidDib(32, 32, 24, kRed)}}), 16, 0x10))
                  .count(),
              0);
}

} // namespace
