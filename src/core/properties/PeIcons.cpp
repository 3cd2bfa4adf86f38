#include "properties/PeIcons.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <system_error>

namespace hv {

namespace {

constexpr std::uint32_t kRtIcon = 3;
constexpr std::uint32_t kRtGroupIcon = 14;
constexpr std::uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr std::size_t kIcoHeaderSize = 6;
constexpr std::size_t kIcoEntrySize = 16;
constexpr std::size_t kGroupEntrySize = 14;
constexpr std::size_t kDirEntrySize = 8;
constexpr std::size_t kSectionSize = 40;

// Little-endian reads that fail instead of reading past the end.
class TReader {
public:
    explicit TReader(std::span<const std::uint8_t> bytes) : m_Bytes(bytes) {}

    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= m_Bytes.size() && count <= m_Bytes.size() - offset;
    }
    std::optional<std::uint16_t> U16(std::size_t offset) const {
        if (!Has(offset, 2)) {
            return std::nullopt;
        }
        return static_cast<std::uint16_t>(m_Bytes[offset] | (m_Bytes[offset + 1] << 8));
    }
    std::optional<std::uint32_t> U32(std::size_t offset) const {
        if (!Has(offset, 4)) {
            return std::nullopt;
        }
        return static_cast<std::uint32_t>(m_Bytes[offset]) | (static_cast<std::uint32_t>(m_Bytes[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(m_Bytes[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(m_Bytes[offset + 3]) << 24);
    }
    std::uint8_t U8(std::size_t offset) const { return m_Bytes[offset]; }
    std::size_t Size() const { return m_Bytes.size(); }

private:
    std::span<const std::uint8_t> m_Bytes;
};

int DimensionOf(std::uint8_t stored) {
    return stored == 0 ? 256 : stored;
}

struct TSection {
    std::uint32_t VirtualAddress;
    std::uint32_t VirtualSize;
    std::uint32_t RawOffset;
    std::uint32_t RawSize;
};

// The file offset of count bytes at rva, when they lie inside one section's data in the file.
std::optional<std::size_t> FileOffsetOf(const std::vector<TSection>& sections, const TReader& reader, std::uint32_t rva,
                                        std::uint32_t count) {
    for (const TSection& s : sections) {
        if (rva < s.VirtualAddress) {
            continue;
        }
        const std::uint64_t delta = rva - s.VirtualAddress;
        if (delta + count > s.RawSize) {
            continue;
        }
        const std::uint64_t offset = static_cast<std::uint64_t>(s.RawOffset) + delta;
        if (offset > std::numeric_limits<std::size_t>::max() || !reader.Has(static_cast<std::size_t>(offset), count)) {
            continue;
        }
        return static_cast<std::size_t>(offset);
    }
    return std::nullopt;
}

struct TResourceEntry {
    std::uint32_t Name;   // an id, or a name offset with the top bit set
    std::uint32_t Target; // a data entry or, with the top bit set, a subdirectory
};

// The entries of the resource directory at offset (relative to the resource section).
std::vector<TResourceEntry> DirectoryEntries(const TReader& reader, std::size_t root, std::size_t offset) {
    std::vector<TResourceEntry> entries;
    if (offset > reader.Size() - root) {
        return entries;
    }
    const std::size_t at = root + offset;
    const auto named = reader.U16(at + 12);
    const auto ids = reader.U16(at + 14);
    if (!named || !ids) {
        return entries;
    }
    const std::size_t count = static_cast<std::size_t>(*named) + *ids;
    if (!reader.Has(at + 16, count * kDirEntrySize)) {
        return entries;
    }
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t e = at + 16 + i * kDirEntrySize;
        entries.push_back({*reader.U32(e), *reader.U32(e + 4)});
    }
    return entries;
}

// The first leaf under a name entry (its first language); the data entry's offset.
std::optional<std::size_t> FirstLeaf(const TReader& reader, std::size_t root, std::uint32_t target) {
    if ((target & kSubdirectoryFlag) == 0) {
        return target;
    }
    const auto languages = DirectoryEntries(reader, root, target & ~kSubdirectoryFlag);
    for (const TResourceEntry& language : languages) {
        if ((language.Target & kSubdirectoryFlag) == 0) {
            return language.Target;
        }
    }
    return std::nullopt;
}

// The bytes a data entry points at, as (file offset, size).
std::optional<std::pair<std::size_t, std::size_t>> LeafData(const TReader& reader, std::size_t root, std::size_t leaf,
                                                            const std::vector<TSection>& sections) {
    if (leaf > reader.Size() - root) {
        return std::nullopt;
    }
    const auto rva = reader.U32(root + leaf);
    const auto size = reader.U32(root + leaf + 4);
    if (!rva || !size) {
        return std::nullopt;
    }
    const auto offset = FileOffsetOf(sections, reader, *rva, *size);
    if (!offset) {
        return std::nullopt;
    }
    return std::make_pair(*offset, static_cast<std::size_t>(*size));
}

} // namespace

bool IsIcoFileName(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string ext = path.substr(path.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return ext == ".ico";
}

std::vector<TIconDirEntry> ReadIcoDirectory(std::span<const std::uint8_t> bytes) {
    const TReader reader(bytes);
    std::vector<TIconDirEntry> entries;
    const auto reserved = reader.U16(0);
    const auto type = reader.U16(2);
    const auto count = reader.U16(4);
    if (!reserved || *reserved != 0 || !type || *type != 1 || !count || *count == 0 ||
        !reader.Has(kIcoHeaderSize, std::size_t{*count} * kIcoEntrySize)) {
        return entries;
    }
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t e = kIcoHeaderSize + i * kIcoEntrySize;
        const std::uint32_t size = *reader.U32(e + 8);
        const std::uint32_t offset = *reader.U32(e + 12);
        if (size == 0 || !reader.Has(offset, size)) {
            continue;
        }
        entries.push_back({DimensionOf(reader.U8(e)), DimensionOf(reader.U8(e + 1)), reader.U8(e + 2),
                           *reader.U16(e + 4), *reader.U16(e + 6), offset, size});
    }
    return entries;
}

int NearestIconEntry(const std::vector<TIconDirEntry>& entries, int size) {
    int best = -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TIconDirEntry& e = entries[i];
        if (best < 0) {
            best = static_cast<int>(i);
            continue;
        }
        const TIconDirEntry& b = entries[static_cast<std::size_t>(best)];
        const int distance = std::abs(e.Width - size) + std::abs(e.Height - size);
        const int bestDistance = std::abs(b.Width - size) + std::abs(b.Height - size);
        if (distance < bestDistance || (distance == bestDistance && e.BitCount > b.BitCount)) {
            best = static_cast<int>(i);
        }
    }
    return best;
}

std::optional<TIconPicture> IconPictureOf(std::span<const std::uint8_t> bytes, const TIconDirEntry& entry) {
    const TReader reader(bytes);
    if (entry.Size == 0 || entry.Size > kMaxIconImageSize || !reader.Has(entry.Offset, entry.Size)) {
        return std::nullopt;
    }
    const auto image = bytes.subspan(entry.Offset, entry.Size);
    TIconPicture picture;
    picture.Width = entry.Width;
    picture.Height = entry.Height;
    picture.BitCount = entry.BitCount;
    static constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (image.size() >= sizeof kPngSignature &&
        std::equal(std::begin(kPngSignature), std::end(kPngSignature), image.begin())) {
        picture.Format = TIconDataFormat::Png;
        picture.Bytes.assign(image.begin(), image.end());
        return picture;
    }
    picture.Format = TIconDataFormat::Ico;
    auto& out = picture.Bytes;
    out.reserve(kIcoHeaderSize + kIcoEntrySize + image.size());
    auto put16 = [&out](unsigned v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    put16(0);
    put16(1);
    put16(1);
    out.push_back(static_cast<std::uint8_t>(entry.Width >= 256 ? 0 : entry.Width));
    out.push_back(static_cast<std::uint8_t>(entry.Height >= 256 ? 0 : entry.Height));
    out.push_back(static_cast<std::uint8_t>(entry.ColorCount & 0xFF));
    out.push_back(0);
    put16(static_cast<unsigned>(entry.Planes) & 0xFFFF);
    put16(static_cast<unsigned>(entry.BitCount) & 0xFFFF);
    put32(static_cast<std::uint32_t>(entry.Size));
    put32(static_cast<std::uint32_t>(kIcoHeaderSize + kIcoEntrySize));
    out.insert(out.end(), image.begin(), image.end());
    return picture;
}

std::vector<std::vector<TIconDirEntry>> ReadPeIconGroups(std::span<const std::uint8_t> bytes) {
    std::vector<std::vector<TIconDirEntry>> groups;
    const TReader reader(bytes);
    if (!reader.Has(0, 0x40) || reader.U8(0) != 'M' || reader.U8(1) != 'Z') {
        return groups;
    }
    const std::size_t pe = *reader.U32(0x3C);
    const auto signature = reader.U32(pe);
    if (!signature || *signature != 0x00004550u || !reader.Has(pe + 4, 20)) {
        return groups;
    }
    const std::size_t sectionCount = *reader.U16(pe + 6);
    const std::size_t optionalSize = *reader.U16(pe + 20);
    const std::size_t optional = pe + 24;
    const auto magic = reader.U16(optional);
    if (!magic || (*magic != 0x10B && *magic != 0x20B)) {
        return groups;
    }
    const std::size_t directoryCountAt = optional + (*magic == 0x10B ? 92 : 108);
    const std::size_t directoriesAt = directoryCountAt + 4;
    const auto directoryCount = reader.U32(directoryCountAt);
    if (!directoryCount || *directoryCount < 3 || directoriesAt + 3 * 8 > optional + optionalSize) {
        return groups;
    }
    const auto resourceRva = reader.U32(directoriesAt + 2 * 8);
    if (!resourceRva || *resourceRva == 0) {
        return groups;
    }

    const std::size_t sectionsAt = optional + optionalSize;
    if (!reader.Has(sectionsAt, sectionCount * kSectionSize)) {
        return groups;
    }
    std::vector<TSection> sections;
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t s = sectionsAt + i * kSectionSize;
        sections.push_back({*reader.U32(s + 12), *reader.U32(s + 8), *reader.U32(s + 20), *reader.U32(s + 16)});
    }
    const auto root = FileOffsetOf(sections, reader, *resourceRva, 16);
    if (!root) {
        return groups;
    }

    // The icon images by their id, and the group directories in resource order.
    std::map<std::uint32_t, std::pair<std::size_t, std::size_t>> images;
    std::vector<std::optional<std::pair<std::size_t, std::size_t>>> groupData;
    for (const TResourceEntry& type : DirectoryEntries(reader, *root, 0)) {
        if ((type.Name & kSubdirectoryFlag) != 0 || (type.Target & kSubdirectoryFlag) == 0) {
            continue;
        }
        if (type.Name != kRtIcon && type.Name != kRtGroupIcon) {
            continue;
        }
        for (const TResourceEntry& name : DirectoryEntries(reader, *root, type.Target & ~kSubdirectoryFlag)) {
            const auto leaf = FirstLeaf(reader, *root, name.Target);
            const auto data = leaf ? LeafData(reader, *root, *leaf, sections) : std::nullopt;
            if (type.Name == kRtIcon) {
                if (data && (name.Name & kSubdirectoryFlag) == 0) {
                    images.emplace(name.Name, *data);
                }
            } else if (groupData.size() < kMaxIconGroups) {
                groupData.push_back(data);
            }
        }
    }

    std::size_t entryCount = 0;
    for (const auto& data : groupData) {
        std::vector<TIconDirEntry>& entries = groups.emplace_back();
        if (!data) {
            continue;
        }
        const auto [at, size] = *data;
        const auto count = reader.U16(at + 4);
        if (size < kIcoHeaderSize || !count || std::size_t{*count} * kGroupEntrySize > size - kIcoHeaderSize) {
            continue;
        }
        for (std::size_t i = 0; i < *count && entryCount < kMaxIconEntries; ++i) {
            const std::size_t e = at + kIcoHeaderSize + i * kGroupEntrySize;
            const auto image = images.find(*reader.U16(e + 12));
            if (image == images.end()) {
                continue;
            }
            entries.push_back({DimensionOf(reader.U8(e)), DimensionOf(reader.U8(e + 1)), reader.U8(e + 2),
                               *reader.U16(e + 4), *reader.U16(e + 6), image->second.first, image->second.second});
            ++entryCount;
        }
    }
    return groups;
}

std::vector<std::optional<TIconPicture>> ReadIcons(std::span<const std::uint8_t> bytes, const std::string& path,
                                                   int size) {
    std::vector<std::optional<TIconPicture>> icons;
    std::size_t handedOut = 0;
    auto pictureOf = [&](const std::vector<TIconDirEntry>& entries) -> std::optional<TIconPicture> {
        const int nearest = NearestIconEntry(entries, size);
        if (nearest < 0) {
            return std::nullopt;
        }
        const TIconDirEntry& entry = entries[static_cast<std::size_t>(nearest)];
        if (entry.Size > kMaxIconBytes - handedOut) {
            return std::nullopt;
        }
        auto picture = IconPictureOf(bytes, entry);
        if (picture) {
            handedOut += picture->Bytes.size();
        }
        return picture;
    };
    if (IsIcoFileName(path)) {
        icons.push_back(pictureOf(ReadIcoDirectory(bytes)));
        return icons;
    }
    for (const auto& group : ReadPeIconGroups(bytes)) {
        icons.push_back(pictureOf(group));
    }
    return icons;
}

std::vector<std::optional<TIconPicture>> ReadFileIcons(const std::string& path, int size) {
    std::error_code error;
    const std::filesystem::path file(path);
    if (path.empty() || !std::filesystem::is_regular_file(file, error)) {
        return {};
    }
    const auto length = std::filesystem::file_size(file, error);
    if (error || length > kMaxIconFileSize) {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return {};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return ReadIcons(bytes, path, size);
}

} // namespace hv
