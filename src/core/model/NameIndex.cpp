#include "model/NameIndex.h"

#include "model/HVItems.h"
#include "text/TextUtil.h"

namespace hv {

namespace {

constexpr std::size_t kFirstSize = 8;

} // namespace

std::size_t TNameIndex::Hash(std::string_view name) noexcept {
    // FNV-1a over the ASCII lower-cased bytes, so that names equal to each other hash alike.
    std::size_t h = 14695981039346656037ULL;
    for (const char c : name) {
        h ^= static_cast<unsigned char>(AsciiLower(c));
        h *= 1099511628211ULL;
    }
    return h ^ (h >> 29);
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
