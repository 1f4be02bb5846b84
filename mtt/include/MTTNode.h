#ifndef MTTNODE_H
#define MTTNODE_H

#include <cstddef>
#include <new>

#include "MTTExport.h"
#include "MTTResult.h"
#include "MTTString.h"

class MTTINodeVisitor;

// Root of every syntax-tree node. A node owns its children and deletes
// them in its destructor; children count from 1.
class MTT_EXPORT MTTNode {
public:
    MTTNode();
    MTTNode(const MTTNode& iOther);
    MTTNode& operator=(const MTTNode& iOther);
    virtual ~MTTNode();

    // Nodes come from the block pool, packed: a parsed template is
    // millions of small nodes, which the system allocator would round up
    // and give headers. A host's node kind that needs more than 8-byte
    // alignment goes to the system allocator. The nothrow and placement
    // forms work as for any class.
    static void* operator new(size_t iSize);
    static void* operator new(size_t iSize, std::align_val_t iAlignment);
    static void* operator new(size_t iSize, const std::nothrow_t&) noexcept;
    static void* operator new(size_t, void* iPlace) noexcept { return iPlace; }
    static void operator delete(void* iNode, size_t iSize);
    static void operator delete(void* iNode, size_t iSize, std::align_val_t iAlignment);
    static void operator delete(void* iNode, const std::nothrow_t&) noexcept;
    static void operator delete(void*, void*) noexcept {}

    // Calls the visitor's operation for this node's kind.
    virtual long Accept(MTTINodeVisitor* visitor) = 0;
    virtual int GetChildCount() = 0;
    // Null outside 1..GetChildCount().
    virtual MTTNode* GetChild(int iIndex) = 0;

    // Empties every text statement made only of blanks, tabs and line
    // breaks. E_FAIL when a null child is met within a child count.
    long Normalize();
    // The subtree as one parenthesised line, for diagnostics.
    MTTString ToString();
};

#endif
