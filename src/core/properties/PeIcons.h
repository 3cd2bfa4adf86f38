#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Icons of Windows programs, libraries and ".ico" files. These files come from anywhere, so the
// readers treat every byte as hostile: every offset and size is checked against the buffer, the
// number of groups listed is capped, and a file that does not make sense has no icons.

namespace hv {

// How the bytes of one picture are stored.
enum class TIconDataFormat : std::uint8_t {
    Ico, // a complete ".ico" file holding exactly this one image
    Png, // a PNG stream (Windows Vista and later keep large icons so)
};

// One picture of an icon, ready to be handed to an image decoder.
struct TIconPicture {
    TIconDataFormat Format = TIconDataFormat::Ico;
    int Width = 0; // from the directory entry (0 there means 256)
    int Height = 0;
    int BitCount = 0;
    std::vector<std::uint8_t> Bytes;
};

// One image of an icon directory, as its directory entry describes it.
struct TIconDirEntry {
    int Width = 0;
    int Height = 0;
    int ColorCount = 0;
    int Planes = 0;
    int BitCount = 0;
    // Where the image's bytes lie in the buffer they were read from.
    std::size_t Offset = 0;
    std::size_t Size = 0;
};

// At most this many icon groups of one file are listed.
inline constexpr std::size_t kMaxIconGroups = 4096;
// At most this many images are listed over all groups of one file.
inline constexpr std::size_t kMaxIconEntries = 65536;
// Images larger than this are taken for broken; ReadIcons hands out at most kMaxIconBytes in all.
inline constexpr std::size_t kMaxIconImageSize = 4u * 1024u * 1024u;
inline constexpr std::size_t kMaxIconBytes = 64u * 1024u * 1024u;
// Files larger than this are not read for icons.
inline constexpr std::uintmax_t kMaxIconFileSize = 256u * 1024u * 1024u;

// The images of an ".ico" file whose bytes lie completely inside the buffer; empty when the
// buffer is no icon file.
std::vector<TIconDirEntry> ReadIcoDirectory(std::span<const std::uint8_t> bytes);

// The entry whose size is nearest to size x size (ties: more colours); -1 for an empty list.
int NearestIconEntry(const std::vector<TIconDirEntry>& entries, int size);

// The picture of one image of a buffer: a PNG stream as it is, anything else wrapped into an
// ".ico" file of its own. Nothing when the entry does not lie inside the buffer.
std::optional<TIconPicture> IconPictureOf(std::span<const std::uint8_t> bytes, const TIconDirEntry& entry);

// The icon groups of a PE file (".exe", ".dll", ".scr"), in the order of its resource directory
// (named groups first, then numbered ones ascending, as the file keeps them); for each group its
// images, with offsets into bytes. Groups whose images are all missing still count, with no
// entries, so the indexes match what Windows lists. Empty for anything that is not a PE file.
std::vector<std::vector<TIconDirEntry>> ReadPeIconGroups(std::span<const std::uint8_t> bytes);

// The icons of a file for a list of small icons: one picture per icon (its image nearest to
// size), or nothing for an icon whose picture is missing or would pass kMaxIconBytes. An ".ico" file (by extension, any
// case) gives one icon; a PE file one per icon group; anything else none. A file that cannot be
// read, or is larger than kMaxIconFileSize, has no icons.
std::vector<std::optional<TIconPicture>> ReadFileIcons(const std::string& path, int size);
// The same for bytes already read, with the file's name deciding whether they are an ".ico".
std::vector<std::optional<TIconPicture>> ReadIcons(std::span<const std::uint8_t> bytes, const std::string& path,
                                                   int size);

// Whether the path ends in ".ico" (any case).
bool IsIcoFileName(const std::string& path);

} // namespace hv
