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

#endif
