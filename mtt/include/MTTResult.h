#ifndef MTTRESULT_H
#define MTTRESULT_H

// Result codes: 0 is success, negative values are failures. E_FAIL is
// spelled through int so that it stays negative where long has 64 bits.
#ifndef S_OK
#define S_OK ((long)0)
#endif
#ifndef E_FAIL
#define E_FAIL ((long)(int)0x80004005)
#endif

#endif
