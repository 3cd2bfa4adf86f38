#include "IconFileBuilder.h"
#include "TempDir.h"
#include "properties/PeIcons.h"

#include <gtest/gtest.h>

#include <fstream>

namespace hv {
namespace {

using test::BuildIcoFile;
using test::BuildPeFile;
using test::SolidIconImage;
using test::TPeLayout;
using test::TTestIconGroup;
using Bytes = std::vector<std::uint8_t>;

TTestIconGroup Group(std::initializer_list<int> sizes, std::uint32_t colour = 0xFF0000FF) {
    TTestIconGroup g;
    for (int s : sizes) {
        g.push_back({static_cast<std::uint8_t>(s), static_cast<std::uint8_t>(s), 32, SolidIconImage(s, colour)});
    }
    return g;
}

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

TEST(IcoDirectory, ListsImagesAndPicksTheOneNearestSixteen) {
    const Bytes ico = BuildIcoFile(Group({32, 16, 48}));
    const auto entries = ReadIcoDirectory(ico);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(NearestIconEntry(entries, 16), 1);
    EXPECT_EQ(NearestIconEntry(entries, 40), 0); // 32 and 48 tie at 16 off; the first stays
    const auto picture = IconPictureOf(ico, entries[1]);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Format, TIconDataFormat::Ico);
    // The picture is an icon file of its own holding just that image.
    const auto again = ReadIcoDirectory(picture->Bytes);
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].Width, 16);
    EXPECT_EQ(again[0].Size, SolidIconImage(16, 0).size());
}

TEST(IcoDirectory, ZeroSizeMeans256AndPngStaysPng) {
    const Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 1, 2, 3};
    const Bytes ico = BuildIcoFile({{0, 0, 32, png}});
    const auto entries = ReadIcoDirectory(ico);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Width, 256);
    const auto picture = IconPictureOf(ico, entries[0]);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Format, TIconDataFormat::Png);
    EXPECT_EQ(picture->Bytes, png);
}

TEST(IcoDirectory, EveryTruncationKeepsOnlyWholeImages) {
    const Bytes ico = BuildIcoFile(Group({16, 32}));
    for (std::size_t n = 0; n < ico.size(); ++n) {
        const Bytes cut(ico.begin(), ico.begin() + static_cast<std::ptrdiff_t>(n));
        for (const auto& e : ReadIcoDirectory(cut)) {
            EXPECT_LE(e.Offset + e.Size, n);
        }
        EXPECT_EQ(ReadIcons(cut, "x.ico", 16).size(), 1u); // an ".ico" always lists one entry
    }
}

TEST(IcoDirectory, HostileHeadersGiveNoImages) {
    // A cursor file, a huge count, an offset past the end, a size past the end.
    for (const auto spoil :
         {+[](Bytes& b) { b[2] = 2; }, +[](Bytes& b) { b[4] = b[5] = 0xFF; },
          +[](Bytes& b) { Put32(b, 6 + 12, 0xFFFFFFF0u); }, +[](Bytes& b) { Put32(b, 6 + 8, 0xFFFFFFFFu); }}) {
        Bytes ico = BuildIcoFile(Group({16}));
        spoil(ico);
        EXPECT_TRUE(ReadIcoDirectory(ico).empty());
    }
}

class PeIconFormats : public ::testing::TestWithParam<bool> {};

TEST_P(PeIconFormats, ListsGroupsInResourceOrderWithTheirImages) {
    const Bytes pe = BuildPeFile({Group({32, 16}, 0xFFFF0000), Group({16}, 0xFF00FF00), Group({48})}, GetParam());
    const auto groups = ReadPeIconGroups(pe);
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].size(), 2u);
    EXPECT_EQ(groups[1].size(), 1u);
    EXPECT_EQ(groups[2][0].Width, 48);
    const auto icons = ReadIcons(pe, "/x/prog.exe", 16);
    ASSERT_EQ(icons.size(), 3u);
    ASSERT_TRUE(icons[0]);
    EXPECT_EQ(icons[0]->Width, 16);
    // The picture carries the group's own image: its first pixel is the group's colour.
    const auto image = ReadIcoDirectory(icons[1]->Bytes);
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(icons[1]->Bytes[image[0].Offset + 40 + 1], 0xFF); // green byte of B,G,R,A
    EXPECT_EQ(icons[1]->Bytes[image[0].Offset + 40 + 2], 0x00);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe64, PeIconFormats, ::testing::Bool());

TEST(PeIcons, GroupWhoseImageIsMissingStillCounts) {
    TPeLayout layout;
    Bytes pe = BuildPeFile({Group({16}), Group({16})}, false, &layout);
    // The first group names an image id that does not exist.
    pe[layout.FirstGroupData + 6 + 12] = 0x77;
    const auto icons = ReadIcons(pe, "lib.dll", 16);
    ASSERT_EQ(icons.size(), 2u);
    EXPECT_FALSE(icons[0]);
    EXPECT_TRUE(icons[1]);
}

TEST(PeIcons, EveryTruncationIsSafe) {
    const Bytes pe = BuildPeFile({Group({16, 32}), Group({16})});
    for (std::size_t n = 0; n < pe.size(); ++n) {
        const Bytes cut(pe.begin(), pe.begin() + static_cast<std::ptrdiff_t>(n));
        const auto groups = ReadPeIconGroups(cut);
        EXPECT_LE(groups.size(), 2u);
        for (const auto& g : groups) {
            for (const auto& e : g) {
                EXPECT_LE(e.Offset + e.Size, n);
            }
        }
    }
}

struct TCorruption {
    const char* Name;
    void (*Apply)(Bytes&, const TPeLayout&);
};

class PeIconCorruptions : public ::testing::TestWithParam<TCorruption> {};

TEST_P(PeIconCorruptions, GiveNoIconsAndNoCrash) {
    TPeLayout layout;
    Bytes pe = BuildPeFile({Group({16}), Group({32})}, false, &layout);
    GetParam().Apply(pe, layout);
    EXPECT_TRUE(ReadPeIconGroups(pe).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Headers, PeIconCorruptions,
    ::testing::Values(
        TCorruption{"NotMZ", [](Bytes& b, const TPeLayout&) { b[0] = 'X'; }},
        TCorruption{"PeOffsetPastEnd", [](Bytes& b, const TPeLayout&) { Put32(b, 0x3C, 0xFFFFFFFCu); }},
        TCorruption{"NoPeSignature", [](Bytes& b, const TPeLayout& l) { b[l.PeHeader] = 'N'; }},
        TCorruption{"UnknownOptionalMagic", [](Bytes& b, const TPeLayout& l) { b[l.PeHeader + 24] = 0x07; }},
        TCorruption{"TooFewDirectories", [](Bytes& b, const TPeLayout& l) { Put32(b, l.DirectoryCount, 2); }},
        TCorruption{"SectionCountBeyondFile",
                    [](Bytes& b, const TPeLayout& l) {
                        b[l.PeHeader + 6] = 0xFF;
                        b[l.PeHeader + 7] = 0xFF;
                    }},
        TCorruption{"SectionRawDataPastEnd",
                    [](Bytes& b, const TPeLayout& l) { Put32(b, l.SectionTable + 20, 0xFFFFFF00u); }},
        TCorruption{"ResourceRvaOutsideSections",
                    [](Bytes& b, const TPeLayout& l) { Put32(b, l.DirectoryCount + 4 + 16, 0x7FFF0000u); }},
        TCorruption{"RootEntryCountHuge",
                    [](Bytes& b, const TPeLayout& l) {
                        b[l.Resources + 14] = 0xFF;
                        b[l.Resources + 15] = 0xFF;
                    }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PeIcons, GroupDirectoryWithHugeCountOrSubdirectoryPointingAtItselfListsAnEmptyGroup) {
    for (const bool loop : {false, true}) {
        TPeLayout layout;
        Bytes pe = BuildPeFile({Group({16})}, false, &layout);
        if (loop) { // the group's name entry points back at the group type directory
            const std::size_t nameEntry = layout.Resources + layout.GroupTypeDirectory + 16;
            Put32(pe, nameEntry + 4, static_cast<std::uint32_t>(layout.GroupTypeDirectory) | 0x80000000u);
        } else {
            pe[layout.FirstGroupData + 4] = pe[layout.FirstGroupData + 5] = 0xFF;
        }
        const auto groups = ReadPeIconGroups(pe);
        ASSERT_EQ(groups.size(), 1u) << loop;
        EXPECT_TRUE(groups[0].empty()) << loop;
    }
}

TEST(PeIcons, ManyGroupsSharingOneImageAreCapped) {
    std::vector<TTestIconGroup> groups(kMaxIconGroups + 10, Group({16}));
    const Bytes pe = BuildPeFile(groups);
    EXPECT_EQ(ReadPeIconGroups(pe).size(), kMaxIconGroups);
}

TEST(IconFiles, ReadFromDiskByExtension) {
    const test::TTempDir temp("icons");
    const std::string dir = temp.Path().string();
    const std::string ico = dir + "/TEST.ICO";
    const std::string dll = dir + "/test.dll";
    const std::string txt = dir + "/test.txt";
    const Bytes pe = BuildPeFile({Group({16}), Group({16}), Group({16})});
    std::ofstream(ico, std::ios::binary).write(reinterpret_cast<const char*>(pe.data()), 10); // broken ".ico"
    std::ofstream(dll, std::ios::binary).write(reinterpret_cast<const char*>(pe.data()), static_cast<long>(pe.size()));
    std::ofstream(txt) << "hello";
    const auto icoIcons = ReadFileIcons(ico, 16);
    ASSERT_EQ(icoIcons.size(), 1u);
    EXPECT_FALSE(icoIcons[0]);
    EXPECT_EQ(ReadFileIcons(dll, 16).size(), 3u);
    EXPECT_TRUE(ReadFileIcons(txt, 16).empty());
    EXPECT_TRUE(ReadFileIcons(dir + "/missing.ico", 16).empty());
    EXPECT_TRUE(ReadFileIcons(dir, 16).empty());
}

} // namespace
} // namespace hv
