#include "model/NameIndex.h"

#include "model/HVItems.h"
#include "text/TextUtil.h"

#include <cstdint>
#include <cstring>

namespace hv {

namespace {

constexpr std::size_t kFirstSize = 8;

// The eight bytes of x with the ASCII capitals made small, all at once: a byte is a capital when
// its low seven bits reach 'A' but not past 'Z' and its top bit is clear.
std::uint64_t AsciiLowerWord(std::uint64_t x) noexcept {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    const std::uint64_t low7 = x & (0x7F * kOnes);
    const std::uint64_t fromA = low7 + (0x80 - 'A') * kOnes;
    const std::uint64_t pastZ = low7 + (0x80 - 'Z' - 1) * kOnes;
    const std::uint64_t capitals = fromA & ~pastZ & ~x & (0x80 * kOnes);
    return x | (capitals >> 2);
}

} // namespace

std::size_t TNameIndex::Hash(std::string_view name) noexcept {
    // Over the ASCII lower-cased bytes, eight at a time, so that names equal to each other hash
    // alike; read for every name of a document when its lists are checked for twin names.
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = name.size() * kMul;
    const char* p = name.data();
    std::size_t left = name.size();
    while (left > 0) {
        std::uint64_t word = 0;
        const std::size_t n = left < 8 ? left : 8;
        std::memcpy(&word, p, n);
        h = (h ^ AsciiLowerWord(word)) * kMul;
        h ^= h >> 31;
        p += n;
        left -= n;
    }
    h *= kMul;
    return static_cast<std::size_t>(h ^ (h >> 29));
}

void TNameIndex::Grow() {
    std::vector<THVItem*> old(m_Slots.empty() ? kFirstSize : m_Slots.size() * 2, nullptr);
    old.swap(m_Slots);
    const std::size_t mask = Mask();
    for (THVItem* item : old) {
        if (item != nullptr) {
            std::size_t i = Hash(item->GetName()) & mask;
            while (m_Slots[i] != nullptr) {
                i = (i + 1) & mask;
            }
            m_Slots[i] = item;
        }
    }
}

void TNameIndex::Insert(THVItem* item) {
    // At most three quarters full, so that a search soon meets a free slot.
    if ((m_Size + 1) * 4 > m_Slots.size() * 3) {
        Grow();
    }
    const std::size_t mask = Mask();
    std::size_t i = Hash(item->GetName()) & mask;
    while (m_Slots[i] != nullptr) {
        i = (i + 1) & mask;
    }
    m_Slots[i] = item;
    ++m_Size;
}

void TNameIndex::Erase(const THVItem* item) {
    if (m_Slots.empty()) {
        return;
    }
    const std::size_t mask = Mask();
    std::size_t i = Hash(item->GetName()) & mask;
    while (m_Slots[i] != item) {
        if (m_Slots[i] == nullptr) {
            return; // not indexed
        }
        i = (i + 1) & mask;
    }
    // Moves later entries of the run back into the gap, so that no search stops short of them.
    std::size_t j = i;
    while (true) {
        j = (j + 1) & mask;
        if (m_Slots[j] == nullptr) {
            break;
        }
        const std::size_t home = Hash(m_Slots[j]->GetName()) & mask;
        // The entry may fill the gap at i when its home does not lie in the cyclic range (i, j].
        const bool homeInRange = i <= j ? (home > i && home <= j) : (home > i || home <= j);
        if (!homeInRange) {
            m_Slots[i] = m_Slots[j];
            i = j;
        }
    }
    m_Slots[i] = nullptr;
    --m_Size;
}

void TNameIndex::Clear() {
    m_Slots.clear();
    m_Slots.shrink_to_fit();
    m_Size = 0;
}

std::size_t TNameIndex::Count(std::string_view name) const {
    if (m_Slots.empty()) {
        return 0;
    }
    const std::size_t mask = Mask();
    std::size_t count = 0;
    for (std::size_t i = Hash(name) & mask; m_Slots[i] != nullptr; i = (i + 1) & mask) {
        count += AsciiSameText(m_Slots[i]->GetName(), name) ? 1 : 0;
    }
    return count;
}

THVItem* TNameIndex::FindAny(std::string_view name, bool& several) const {
    several = false;
    if (m_Slots.empty()) {
        return nullptr;
    }
    const std::size_t mask = Mask();
    THVItem* found = nullptr;
    for (std::size_t i = Hash(name) & mask; m_Slots[i] != nullptr; i = (i + 1) & mask) {
        if (AsciiSameText(m_Slots[i]->GetName(), name)) {
            if (found != nullptr) {
                several = true;
                break;
            }
            found = m_Slots[i];
        }
    }
    return found;
}

} // namespace hv
