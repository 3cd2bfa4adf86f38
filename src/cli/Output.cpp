#include "Output.h"

#include <algorithm>
#include <ostream>
#include <string>

namespace hv::cli {

void WriteSpaces(std::ostream& out, std::size_t count) {
    static constexpr std::size_t kChunk = 1024;
    static const std::string kBlanks(kChunk, ' ');
    while (count > 0) {
        const std::size_t n = std::min(count, kChunk);
        out.write(kBlanks.data(), static_cast<std::streamsize>(n));
        count -= n;
    }
}

} // namespace hv::cli
