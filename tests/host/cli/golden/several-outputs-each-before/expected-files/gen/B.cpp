// B.cpp
#include "B.h"

// Begin of User Code /classes/B#functions
// End of User Code
