#ifndef MTTNODESUPPORT_H
#define MTTNODESUPPORT_H

// What every node kind shares: visitor dispatch for Accept, the child
// protocol over fixed children or a list, and deleting owned pointers.

#include <initializer_list>

#include "MTTDiagnostics.h"
#include "MTTINodeVisitor.h"
#include "MTTNode.h"
#include "MTTResult.h"

// One overload per kind, so that Accept picks the visit operation by the
// static type of `this`.
#define MTT_NODE(Kind)                                                   \
    inline long MTTDispatch(MTTINodeVisitor* iVisitor, MTT##Kind* iNode) \
    {                                                                    \
        return iVisitor->Visit##Kind(iNode);                             \
    }
#include "MTTNodeKinds.def"

// The body of every Accept: a null visitor is reported and refused.
template <class Node>
long MTTAccept(MTTINodeVisitor* iVisitor, Node* iNode)
{
    if (!MTT_CHECK(iVisitor != nullptr, "visitor")) return E_FAIL;
    return MTTDispatch(iVisitor, iNode);
}

// Child iIndex (from 1) of a node with fixed children; null out of range.
inline MTTNode* MTTChildAt(int iIndex, std::initializer_list<MTTNode*> iChildren)
{
    if (iIndex < 1 || iIndex > static_cast<int>(iChildren.size())) return nullptr;
    return iChildren.begin()[iIndex - 1];
}

// Element iIndex (from 1) of a typed pointer list; null out of range,
// without the list's own out-of-range report.
template <class List>
MTTNode* MTTListChildAt(const List& iList, int iIndex)
{
    if (iIndex < 1 || iIndex > iList.Size()) return nullptr;
    return iList[iIndex];
}

// Deletes an owned child (null is fine) and clears the pointer.
template <class T>
void MTTDeleteOwned(T*& ioPointer)
{
    delete ioPointer;
    ioPointer = nullptr;
}

// Deletes every element of an owning pointer list, then empties it. The
// count is read again after each element.
template <class List>
void MTTDeleteElements(List& ioList)
{
    for (int i = 1; i <= ioList.Size(); ++i) delete ioList[i];
    ioList.RemoveAll();
}

#endif
