#ifndef OUTPUTANCESTRY_H
#define OUTPUTANCESTRY_H

#include <cstdint>
#include <map>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "MTTIEvaluationOutputVisitor.h"
#include "SourceMap.h"

class MTTEvaluationOutput;
class MTTEvaluationOutputLeaf;
class MTTIStatement;

// For every leaf of output trees, the chain of template directives whose
// evaluation led to it (`foreach classes` > `if` > `${name}`), read from the
// statements that the output nodes above the leaf remember. Directives are
// the distinct source spans of those statements. Chains share their
// beginnings: a context is a directive under a parent context, numbered
// so that a parent comes before its children; context 0 is the empty chain.
class OutputAncestry : public MTTIEvaluationOutputVisitor {
public:
    struct Context {
        int32_t parent;
        int32_t directive;
    };

    explicit OutputAncestry(const SourceMap& iMap);

    // The context of each leaf of the tree. The root node stands for the
    // whole template, not for a directive, and is left out of the chains.
    // Walks with its own stack, so that deeply nested output cannot
    // exhaust the call stack.
    std::unordered_map<const MTTEvaluationOutputLeaf*, int32_t> Walk(MTTEvaluationOutput* iRoot);

    const std::vector<SourceSpan>& Directives() const { return _directives; }
    const std::vector<Context>& Contexts() const { return _contexts; }

    long VisitOutputNode(MTTEvaluationOutputNode* iNode) override;
    long VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf) override;

private:
    // iContext followed by the directive of iStatement; iContext itself
    // when the statement has no span or repeats the last directive (a
    // block and its body share the span of their directive).
    int32_t Extend(int32_t iContext, MTTIStatement* iStatement);

    const SourceMap& _map;
    std::vector<SourceSpan> _directives;
    std::vector<Context> _contexts{{-1, -1}};
    std::unordered_map<const MTTIStatement*, int32_t> _directiveOf;
    std::map<std::tuple<uint32_t, uint32_t, uint32_t>, int32_t> _spanDirective;  // file, begin, end
    std::unordered_map<uint64_t, int32_t> _childContext;                         // parent context, directive
    std::vector<std::pair<MTTEvaluationOutput*, int32_t>> _pending;              // next output on top
    MTTEvaluationOutput* _root = nullptr;
    int32_t _current = 0;
    std::unordered_map<const MTTEvaluationOutputLeaf*, int32_t> _leaves;
};

#endif
