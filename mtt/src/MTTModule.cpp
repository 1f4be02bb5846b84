#include "MTTModule.h"

int MTTModuleMtt()
{
    return 1;
}
