// Icons in .ico and PE files: every entry read lies inside the bytes, and reading its picture
// never fails otherwise than by giving none.

#include "FuzzTarget.h"
#include "properties/PeIcons.h"

#include <span>

HV_FUZZ_TARGET(icons) {
    using namespace hv;
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    auto checkEntries = [&](const std::vector<TIconDirEntry>& entries) {
        for (const TIconDirEntry& entry : entries) {
            HV_FUZZ_CHECK(entry.Offset <= bytes.size() && entry.Size <= bytes.size() - entry.Offset);
            (void)IconPictureOf(bytes, entry);
        }
        (void)NearestIconEntry(entries, 16);
    };
    checkEntries(ReadIcoDirectory(bytes));
    for (const auto& group : ReadPeIconGroups(bytes)) {
        checkEntries(group);
    }
}
