#ifndef MTTIOUTPUTLISTENER_H
#define MTTIOUTPUTLISTENER_H

#include <cstddef>

#include "MTTEvaluationOutputLeafType.h"
#include "MTTExport.h"

class MTLIModelObject;
class MTTIStatement;

// Hears, during MTTEvaluateText, the output tree that Evaluate would build,
// as it would build it, without the tree being made: each node as it opens
// (its statement and model object) and closes, and each leaf with its type
// and its bytes [iBegin, iEnd) in the text written. A host that wants to
// know which directive wrote which bytes then needs neither the tree's
// memory nor the time to build and free it. An output of a host's own
// class (neither the library's node nor its leaf) is heard as one leaf.
class MTT_EXPORT MTTIOutputListener {
public:
    MTTIOutputListener();
    MTTIOutputListener(const MTTIOutputListener& iOther);
    MTTIOutputListener& operator=(const MTTIOutputListener& iOther);
    virtual ~MTTIOutputListener();

    virtual void OnNodeOpen(MTTIStatement* iStatement, MTLIModelObject* iModelObject) = 0;
    virtual void OnLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTEvaluationOutputLeafType iType,
                        size_t iBegin, size_t iEnd) = 0;
    virtual void OnNodeClose() = 0;
};

#endif
