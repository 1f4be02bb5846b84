#ifndef RESIDENTPAGES_H
#define RESIDENTPAGES_H

#include <cstddef>

// Makes memory about to be written resident in one call, rather than one
// page fault per page as it is first touched (where the system can: Linux
// 5.14 and later; elsewhere nothing is done). Only the whole pages inside
// the block are touched.
class ResidentPages {
public:
    static void Make(void* iMemory, std::size_t iBytes);
    // The reverse, for a block about to be freed: its whole pages go back
    // to the system. The heap is trimmed only once the model is loaded
    // (HeapSizing), so a block freed among the model's would otherwise stay
    // resident until then.
    static void Release(void* iMemory, std::size_t iBytes);
};

#endif
