#pragma once

// Builds small ".ico" files and Windows PE files with icon resources byte by byte, for the icon
// reader's tests and the icon dialog's tests. Plain C++, no test framework.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace hv::test {

struct TTestIconImage {
    std::uint8_t Width = 16; // 0 means 256
    std::uint8_t Height = 16;
    std::uint16_t BitCount = 32;
    std::vector<std::uint8_t> Data;
};
using TTestIconGroup = std::vector<TTestIconImage>;

class TByteWriter {
public:
    std::vector<std::uint8_t> Bytes;
    std::size_t Size() const { return Bytes.size(); }
    void U8(unsigned v) { Bytes.push_back(static_cast<std::uint8_t>(v & 0xFF)); }
    void U16(unsigned v) {
        U8(v);
        U8(v >> 8);
    }
    void U32(std::uint32_t v) {
        U16(v & 0xFFFF);
        U16(v >> 16);
    }
    void Zeros(std::size_t n) { Bytes.insert(Bytes.end(), n, 0); }
    void PadTo(std::size_t n) {
        if (Bytes.size() < n) {
            Zeros(n - Bytes.size());
        }
    }
    void Append(const std::vector<std::uint8_t>& data) { Bytes.insert(Bytes.end(), data.begin(), data.end()); }
    void Put32At(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            Bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
        }
    }
};

// A 32-bit icon image of one colour (0xAARRGGBB): the bitmap header, the pixels and the mask.
inline std::vector<std::uint8_t> SolidIconImage(int size, std::uint32_t argb) {
    TByteWriter w;
    w.U32(40);
    w.U32(static_cast<std::uint32_t>(size));
    w.U32(static_cast<std::uint32_t>(size * 2));
    w.U16(1);
    w.U16(32);
    w.U32(0);
    const std::size_t maskRow = static_cast<std::size_t>((size + 31) / 32 * 4);
    w.U32(static_cast<std::uint32_t>(size * size * 4 + static_cast<int>(maskRow) * size));
    w.Zeros(16);
    for (int i = 0; i < size * size; ++i) {
        w.U32(argb); // little-endian B, G, R, A
    }
    w.Zeros(maskRow * static_cast<std::size_t>(size));
    return w.Bytes;
}

inline std::vector<std::uint8_t> BuildIcoFile(const std::vector<TTestIconImage>& images) {
    TByteWriter w;
    w.U16(0);
    w.U16(1);
    w.U16(static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const auto& image : images) {
        w.U8(image.Width);
        w.U8(image.Height);
        w.U8(0);
        w.U8(0);
        w.U16(1);
        w.U16(image.BitCount);
        w.U32(static_cast<std::uint32_t>(image.Data.size()));
        w.U32(offset);
        offset += static_cast<std::uint32_t>(image.Data.size());
    }
    for (const auto& image : images) {
        w.Append(image.Data);
    }
    return w.Bytes;
}

// Offsets of a built PE file that tests corrupt on purpose.
struct TPeLayout {
    std::size_t PeHeader = 0x40;
    std::size_t DirectoryCount = 0;
    std::size_t SectionTable = 0;
    std::size_t Resources = 0x200;      // file offset of the resource section
    std::size_t GroupTypeDirectory = 0; // relative to the resource section
    std::size_t FirstGroupData = 0;     // file offset of the first group directory
};

// A PE file with one ".rsrc" section holding the icon groups in this order (numbered 1, 2, ...)
// and their images (numbered 1, 2, ... across all groups).
inline std::vector<std::uint8_t> BuildPeFile(const std::vector<TTestIconGroup>& groups, bool pe64 = false,
                                             TPeLayout* layout = nullptr) {
    constexpr std::uint32_t kRva = 0x1000;
    TPeLayout l;
    std::vector<const TTestIconImage*> images;
    for (const auto& g : groups) {
        for (const auto& image : g) {
            images.push_back(&image);
        }
    }

    // The resource section.
    TByteWriter r;
    auto directory = [&r](unsigned ids) {
        r.Zeros(12);
        r.U16(0);
        r.U16(ids);
    };
    directory(2);
    const std::size_t rootEntries = r.Size();
    r.Zeros(16);
    const std::size_t counts[2] = {images.size(), groups.size()};
    std::size_t nameEntries[2];
    std::size_t typeDirs[2];
    for (int t = 0; t < 2; ++t) {
        typeDirs[t] = r.Size();
        directory(static_cast<unsigned>(counts[t]));
        nameEntries[t] = r.Size();
        r.Zeros(8 * counts[t]);
    }
    std::vector<std::size_t> leaves[2];
    for (int t = 0; t < 2; ++t) {
        for (std::size_t i = 0; i < counts[t]; ++i) {
            const std::size_t languageDir = r.Size();
            directory(1);
            r.U32(0x409);
            leaves[t].push_back(r.Size());
            r.U32(0);
            r.Put32At(nameEntries[t] + 8 * i, static_cast<std::uint32_t>(i + 1));
            r.Put32At(nameEntries[t] + 8 * i + 4, static_cast<std::uint32_t>(languageDir) | 0x80000000u);
        }
    }
    r.Put32At(rootEntries, 3);
    r.Put32At(rootEntries + 4, static_cast<std::uint32_t>(typeDirs[0]) | 0x80000000u);
    r.Put32At(rootEntries + 8, 14);
    r.Put32At(rootEntries + 12, static_cast<std::uint32_t>(typeDirs[1]) | 0x80000000u);
    l.GroupTypeDirectory = typeDirs[1];
    auto data = [&](std::size_t leafRef, const std::vector<std::uint8_t>& blob) {
        const std::size_t entry = r.Size();
        r.Zeros(16);
        r.Put32At(leafRef, static_cast<std::uint32_t>(entry));
        const std::size_t at = r.Size();
        r.Append(blob);
        r.PadTo((r.Size() + 3) / 4 * 4);
        r.Put32At(entry, kRva + static_cast<std::uint32_t>(at));
        r.Put32At(entry + 4, static_cast<std::uint32_t>(blob.size()));
        return at;
    };
    for (std::size_t i = 0; i < images.size(); ++i) {
        data(leaves[0][i], images[i]->Data);
    }
    unsigned id = 1;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        TByteWriter d;
        d.U16(0);
        d.U16(1);
        d.U16(static_cast<unsigned>(groups[g].size()));
        for (const auto& image : groups[g]) {
            d.U8(image.Width);
            d.U8(image.Height);
            d.U8(0);
            d.U8(0);
            d.U16(1);
            d.U16(image.BitCount);
            d.U32(static_cast<std::uint32_t>(image.Data.size()));
            d.U16(id++);
        }
        const std::size_t at = data(leaves[1][g], d.Bytes);
        if (g == 0) {
            l.FirstGroupData = l.Resources + at;
        }
    }

    // The headers.
    TByteWriter w;
    w.U8('M');
    w.U8('Z');
    w.PadTo(0x3C);
    w.U32(static_cast<std::uint32_t>(l.PeHeader));
    w.U32(0x00004550u);
    w.U16(pe64 ? 0x8664 : 0x14C);
    w.U16(1);
    w.Zeros(12);
    const unsigned optionalSize = pe64 ? 240 : 224;
    w.U16(optionalSize);
    w.U16(0x0102);
    const std::size_t optional = w.Size();
    w.U16(pe64 ? 0x20B : 0x10B);
    w.PadTo(optional + (pe64 ? 108 : 92));
    l.DirectoryCount = w.Size();
    w.U32(16);
    w.Zeros(16);
    w.U32(kRva);
    w.U32(static_cast<std::uint32_t>(r.Size()));
    w.PadTo(optional + optionalSize);
    l.SectionTable = w.Size();
    for (char c : {'.', 'r', 's', 'r', 'c', '\0', '\0', '\0'}) {
        w.U8(static_cast<unsigned>(c));
    }
    w.U32(static_cast<std::uint32_t>(r.Size()));
    w.U32(kRva);
    w.U32(static_cast<std::uint32_t>(r.Size()));
    w.U32(static_cast<std::uint32_t>(l.Resources));
    w.Zeros(16);
    w.PadTo(l.Resources);
    w.Append(r.Bytes);
    if (layout != nullptr) {
        *layout = l;
    }
    return w.Bytes;
}

} // namespace hv::test
