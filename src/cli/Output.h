#pragma once

#include <cstddef>
#include <iosfwd>

namespace hv::cli {

// Writes count blanks. Indentation of deeply nested trees runs to many thousands of blanks per
// line, so they go out in chunks of a shared buffer instead of a string made for each line.
void WriteSpaces(std::ostream& out, std::size_t count);

} // namespace hv::cli
