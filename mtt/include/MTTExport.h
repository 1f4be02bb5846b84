#ifndef MTTEXPORT_H
#define MTTEXPORT_H

// The library is built with hidden visibility; only classes marked with
// MTT_EXPORT form its binary interface. Shared objects only (ELF, Mach-O):
// a DLL cannot work, since inline code of the infrastructure reads its
// thread-local data (MTTBlockPool), which a DLL interface cannot carry.
#if defined(__GNUC__)
#define MTT_EXPORT __attribute__((visibility("default")))
#else
#define MTT_EXPORT
#endif

#endif
