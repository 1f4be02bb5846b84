// A.cpp
#include "A.h"

// Begin of User Code /classes/A#functions
// End of User Code
