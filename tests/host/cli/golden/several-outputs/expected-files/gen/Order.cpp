// Order.cpp
#include "Order.h"

// Begin of User Code /#functions
// End of User Code
