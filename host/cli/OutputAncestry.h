#ifndef OUTPUTANCESTRY_H
#define OUTPUTANCESTRY_H

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "MttOutputShape.h"
#include "SourceMap.h"

class MTTIStatement;

// For every leaf of output trees, the chain of template directives whose
// evaluation led to it (`foreach classes` > `if` > `${name}`), read from the
// statements of the nodes above the leaf in the tree's shape. A function's
// output hangs under no node of its call, so the call is found in the
// statement that holds it and put in the chain before the function:
// `call passed(${type})` > `function passed(type)` > `if`. Directives are
// the distinct source spans of those statements, in the page's numbering
// of template files. Chains share their beginnings: a context is a
// directive under a parent context, numbered so that a parent comes before
// its children; context 0 is the empty chain.
class OutputAncestry {
public:
    struct Directive {
        uint32_t file;  // the page's file number
        uint32_t begin;
        uint32_t end;
        enum class Kind : char { kOther, kCall, kFunction } kind;
        std::string name;  // of the function called or declared
    };
    struct Context {
        int32_t parent;
        int32_t directive;
    };

    // The context of each leaf of the tree, in text order, told as it is
    // found: iOnLeaf(leaf, context), so that nothing a leaf is kept for a
    // tree of millions. The root node stands for the whole template, not
    // for a directive, and is left out of the chains. iFiles gives the
    // page's number of each file of iMap.
    template <class LeafContext>
    void Walk(const mtt::OutputShape& iShape, const SourceMap& iMap, const std::vector<uint32_t>& iFiles,
              LeafContext&& iOnLeaf);
    // The directive of a span of iMap, added when new.
    int32_t DirectiveOf(const SourceMap& iMap, const SourceSpan& iSpan, const std::vector<uint32_t>& iFiles);

    const std::vector<Directive>& Directives() const { return _directives; }
    const std::vector<Context>& Contexts() const { return _contexts; }

private:
    // Ready for a walk over iMap's statements: what an earlier walk over
    // another map knew of statements is dropped.
    void Start(const SourceMap& iMap, const std::vector<uint32_t>& iFiles);
    // The context of node iNode of iShape, child iIndex of iParent, whose
    // context is iParentContext; iDirectives holds the directive of each of
    // the shape's statements (kNotYet until needed).
    int32_t NodeContext(const mtt::OutputShape& iShape, size_t iNode, int32_t iParent, int32_t iIndex,
                        int32_t iParentContext, std::vector<int32_t>& ioDirectives);
    int32_t DirectiveOfStatement(const mtt::OutputShape& iShape, uint32_t iNumber, std::vector<int32_t>& ioDirectives)
    {
        int32_t& directive = ioDirectives[iNumber];
        if (directive == kNotYet) directive = Describe(iShape.Statement(iNumber));
        return directive;
    }
    // The directive of a statement, -1 for none; found once.
    int32_t Describe(MTTIStatement* iStatement);
    // The call of a function whose output is child iIndex of iParent.
    MTTIStatement* CallSite(const mtt::OutputShape& iShape, const mtt::OutputShape::Node& iParent, int iIndex,
                            const std::string& iName);

    const SourceMap* _map = nullptr;
    const std::vector<uint32_t>* _files = nullptr;
    std::vector<Directive> _directives;
    std::vector<Context> _contexts{{-1, -1}};
    std::unordered_map<const MTTIStatement*, int32_t> _statements;
    std::map<std::tuple<uint32_t, uint32_t, uint32_t>, int32_t> _spanDirective;  // file, begin, end
    std::unordered_map<uint64_t, int32_t> _childContext;                         // parent context, directive
    // The last extensions made: a leaf's chain is mostly one met just before.
    struct Extension {
        uint64_t key = ~uint64_t(0);  // context, directive
        int32_t extended = 0;
    };
    static constexpr int kRecentBits = 10;
    Extension _recent[size_t(1) << kRecentBits];
    // iContext followed by iDirective; iContext itself for none (-1) or
    // when it repeats the last directive (a block and its body share the
    // span of their directive). Inline: every leaf of a walk asks, and
    // most find a recent one.
    int32_t Extend(int32_t iContext, int32_t iDirective)
    {
        if (iDirective < 0 || iDirective == _contexts[static_cast<size_t>(iContext)].directive) return iContext;
        const uint64_t key =
            (static_cast<uint64_t>(static_cast<uint32_t>(iContext)) << 32) | static_cast<uint32_t>(iDirective);
        Extension& recent = _recent[(key * 0x9E3779B97F4A7C15ull) >> (64 - kRecentBits)];
        if (recent.key == key) return recent.extended;
        return ExtendAfresh(iContext, iDirective, key, recent);
    }
    // The same for a pair no recent extension holds (iKey), kept in
    // ioRecent.
    int32_t ExtendAfresh(int32_t iContext, int32_t iDirective, uint64_t iKey, Extension& ioRecent);
    static constexpr int32_t kNotYet = -2;  // a statement not described yet
};

template <class LeafContext>
void OutputAncestry::Walk(const mtt::OutputShape& iShape, const SourceMap& iMap, const std::vector<uint32_t>& iFiles,
                          LeafContext&& iOnLeaf)
{
    Start(iMap, iFiles);
    // The directive of each of the shape's statements, found when first
    // needed: in the order of the walk, which numbers the directives.
    std::vector<int32_t> directives(iShape.StatementCount(), kNotYet);
    // Nodes and leaves in the order of the tree (depth first), so that
    // directives and contexts are numbered as they are first met. A parent
    // comes before its children: each node's context is found from its
    // parent's, once. The root stands for the template: context 0. Only
    // the open nodes' contexts are kept: what a walk meets next hangs under
    // one of them, and those above it are done.
    struct Open {
        int32_t node;
        int32_t context;
    };
    std::vector<Open> open;
    const auto contextOf = [&open](int32_t iNode) {
        while (!open.empty() && open.back().node != iNode) open.pop_back();
        return open.empty() ? 0 : open.back().context;
    };
    const auto onNode = [&](size_t iNode, int32_t iParent, int32_t iIndex) {
        const int32_t context =
            iParent < 0 ? 0 : NodeContext(iShape, iNode, iParent, iIndex, contextOf(iParent), directives);
        open.push_back(Open{static_cast<int32_t>(iNode), context});
    };
    const auto onLeaf = [&](size_t iLeaf, int32_t iNode) {
        const int32_t context = iNode < 0 ? 0 : contextOf(iNode);
        iOnLeaf(iLeaf, Extend(context, DirectiveOfStatement(iShape, iShape.LeafStatement(iLeaf), directives)));
    };
    iShape.Walk(onNode, onLeaf);
}

#endif
