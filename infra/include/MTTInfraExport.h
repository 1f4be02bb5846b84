#ifndef MTTINFRAEXPORT_H
#define MTTINFRAEXPORT_H

// Symbols of the infrastructure library are hidden unless marked. Shared
// objects only (ELF, Mach-O): MTTBlockPool's inline paths read the
// library's thread-local data, which a DLL interface cannot carry.
#if defined(__GNUC__)
#define MTTINFRA_EXPORT __attribute__((visibility("default")))
#else
#define MTTINFRA_EXPORT
#endif

// A function that moved into a header to be inlined, and that earlier
// versions of the library exported: the library still emits and exports
// it, so that hosts built against them still load; the rest inline it.
#if defined(__GNUC__) && defined(MTTINFRA_BUILDING)
#define MTTINFRA_KEPT __attribute__((used, visibility("default")))
#else
#define MTTINFRA_KEPT
#endif

#endif
