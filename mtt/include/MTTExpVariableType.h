#ifndef MTTEXPVARIABLETYPE_H
#define MTTEXPVARIABLETYPE_H

// Type of a template variable. Other values are stored and returned
// unchanged and count as string variables.
enum MTTExpVariableType : int {
    MTTVarInteger = 0,  // starts as "0"; the only type "|=" accepts late
    MTTVarString = 1,   // starts empty; also the type of an unknown name
};

#endif
