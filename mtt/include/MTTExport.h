#ifndef MTTEXPORT_H
#define MTTEXPORT_H

// The library is built with hidden visibility; only classes marked with
// MTT_EXPORT form its binary interface.
#if defined(_WIN32)
#  if defined(MTT_BUILDING)
#    define MTT_EXPORT __declspec(dllexport)
#  else
#    define MTT_EXPORT __declspec(dllimport)
#  endif
#else
#  define MTT_EXPORT __attribute__((visibility("default")))
#endif

#endif
