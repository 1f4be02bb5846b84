#ifndef MTTINFRAEXPORT_H
#define MTTINFRAEXPORT_H

// Symbols of the infrastructure library are hidden unless marked.
#if defined(_WIN32)
#  if defined(MTTINFRA_BUILDING)
#    define MTTINFRA_EXPORT __declspec(dllexport)
#  else
#    define MTTINFRA_EXPORT __declspec(dllimport)
#  endif
#else
#  define MTTINFRA_EXPORT __attribute__((visibility("default")))
#endif

#endif
