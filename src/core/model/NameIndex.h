#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace hv {

class THVItem;

// The items of one list by name, ASCII letters compared case-insensitively; several items may
// share a name. An open-addressing table of pointers: no allocation per item, a few bytes each,
// so that reading a document of many thousands of items stays cheap.
class TNameIndex {
public:
    // item must stay under the name it is indexed by until it is erased.
    void Insert(THVItem* item);
    void Erase(const THVItem* item);
    void Clear();

    std::size_t Count(std::string_view name) const;
    // An item of that name (nullptr when none), and whether there are others.
    THVItem* FindAny(std::string_view name, bool& several) const;

    static std::size_t Hash(std::string_view name) noexcept;

private:
    std::size_t Mask() const { return m_Slots.size() - 1; }
    void Grow();

    std::vector<THVItem*> m_Slots; // a power of two in size, or empty; nullptr is a free slot
    std::size_t m_Size = 0;
};

} // namespace hv
