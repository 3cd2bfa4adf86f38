#pragma once

#include <cstddef>

namespace hv {

// Prepares the heap for about bytes of small allocations that follow at once, such as the tree of
// a document being read: the heap grows by that much in one step and its pages are made present
// in one call (on huge pages where the system offers them), instead of one page fault for every
// 4 KiB touched. What the allocations do not use stays in the heap for later ones. Does nothing
// where the system cannot do it.
void ReserveHeap(std::size_t bytes);

} // namespace hv
