#ifndef MTTINFRACOMPILER_H
#define MTTINFRACOMPILER_H

// The compiler extensions the libraries use, each with a spelling that
// compiles (doing without the extension) where the compiler lacks it.
#if defined(__GNUC__)
// Checks the arguments of a printf-like function (format argument, first
// variadic argument, counted from 1).
#define MTT_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))
// Thread-local plain data reached without a call: no dynamic
// initialisation, and at a fixed offset from the thread pointer (the
// libraries are linked, never loaded late).
#define MTT_FAST_THREAD_LOCAL __thread
#define MTT_INITIAL_EXEC __attribute__((tls_model("initial-exec")))
// Kept out of its callers: a rarely taken path that, inlined, would make a
// hot caller save and restore registers on every call.
#define MTT_NOINLINE __attribute__((noinline))
// Put into its callers whatever the compiler would choose: a small step of
// a hot loop that more than one place takes.
#define MTT_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define MTT_PRINTF_FORMAT(formatIndex, firstArgument)
#define MTT_FAST_THREAD_LOCAL thread_local
#define MTT_INITIAL_EXEC
#define MTT_NOINLINE
#define MTT_ALWAYS_INLINE inline
#endif

#endif
