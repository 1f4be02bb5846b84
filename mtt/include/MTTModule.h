#ifndef MTTMODULE_H
#define MTTMODULE_H

#include "MTTExport.h"

// Returns 1: lets a host check that the library is loaded and linkable.
MTT_EXPORT int MTTModuleMtt();

#endif
