#ifndef MTLIMODELOBJECT_H
#define MTLIMODELOBJECT_H

#include "MTTExport.h"
#include "MTTString.h"

// The host's view of one model element. The library only borrows model
// objects: every object handed to it must outlive the environment and the
// output trees that refer to it.
class MTT_EXPORT MTLIModelObject {
public:
    virtual ~MTLIModelObject();
    virtual int GetKind() = 0;  // 1 list, 2 scalar
    virtual MTLIModelObject* GetProperty(const MTTString& iName) = 0;
    virtual int GetSize() = 0;
    virtual MTLIModelObject* GetElement(int iIndex) = 0;  // 0-based
    virtual MTTString GetValue(const char* iName) = 0;    // null: own text
};

#endif
