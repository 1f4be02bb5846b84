#ifndef MTLILATEEVALUATOR_H
#define MTLILATEEVALUATOR_H

#include "MTTExport.h"
#include "MTTString.h"

// Supplies, during late evaluation, the source text through which the
// generated code reads the model at run time. Paths are property paths as
// the template writes them: a leading "/" starts at the root object.
class MTT_EXPORT MTLILateEvaluator {
public:
    virtual ~MTLILateEvaluator();
    // An expression reading attribute iName of the object at iPath.
    virtual MTTString LateProperty(const char* iPath, const char* iName) = 0;
    // An expression for the number of elements of the list at iPath.
    virtual MTTString LateListSize(const char* iPath) = 0;
    // A statement (";\n" is added) making element iIndexName of the list current.
    virtual MTTString LateEnterElement(const char* iPath, const char* iIndexName) = 0;
    // A statement (";\n" is added) making the previous object current again.
    virtual MTTString LateLeaveElement() = 0;
};

#endif
