#ifndef RESIDENTMEMORY_H
#define RESIDENTMEMORY_H

// The process's resident memory in KiB, for tests that bound memory use.
// The address sanitizer and valgrind keep freed memory aside for a while,
// so there the number says nothing and this answers 0: a bound on growth
// then holds trivially.
long ResidentKiB();

#endif
