#ifndef LARGEPAGEHEAP_H
#define LARGEPAGEHEAP_H

#include <cstddef>

// Asks the system to back the heap with large pages where it gives them on
// request. Loading a large model then takes a few thousand page faults
// instead of tens of thousands, and each costs microseconds (more on virtual
// machines): for a 7 MB model, most of the run. Only address space is taken
// up front; memory is used as the heap grows into it.
class LargePageHeap {
public:
    // iBytes: how far the heap is expected to grow.
    static void Prepare(size_t iBytes);
};

#endif
