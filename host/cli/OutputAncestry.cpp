#include "OutputAncestry.h"

#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIStatement.h"

OutputAncestry::OutputAncestry(const SourceMap& iMap) : _map(iMap) {}

std::unordered_map<const MTTEvaluationOutputLeaf*, int32_t> OutputAncestry::Walk(MTTEvaluationOutput* iRoot)
{
    _leaves.clear();
    _pending.clear();
    _root = iRoot;
    if (iRoot != nullptr) _pending.emplace_back(iRoot, 0);
    while (!_pending.empty()) {
        MTTEvaluationOutput* next = _pending.back().first;
        _current = _pending.back().second;
        _pending.pop_back();
        next->Accept(this);
    }
    std::unordered_map<const MTTEvaluationOutputLeaf*, int32_t> leaves;
    leaves.swap(_leaves);
    return leaves;
}

long OutputAncestry::VisitOutputNode(MTTEvaluationOutputNode* iNode)
{
    const int32_t context = iNode == _root ? _current : Extend(_current, iNode->GetStatement());
    // Last child first, so that the first child is taken next.
    for (int i = iNode->GetChildCount() - 1; i >= 0; --i) {
        if (MTTEvaluationOutput* child = iNode->GetChild(i)) _pending.emplace_back(child, context);
    }
    return S_OK;
}

long OutputAncestry::VisitOutputLeaf(MTTEvaluationOutputLeaf* iLeaf)
{
    _leaves[iLeaf] = Extend(_current, iLeaf->GetStatement());
    return S_OK;
}

int32_t OutputAncestry::Extend(int32_t iContext, MTTIStatement* iStatement)
{
    auto known = _directiveOf.find(iStatement);
    if (known == _directiveOf.end()) {
        const std::optional<SourceSpan> span = iStatement != nullptr ? _map.Find(iStatement) : std::nullopt;
        int32_t directive = -1;
        if (span) {
            auto added = _spanDirective.emplace(std::make_tuple(span->file, span->begin, span->end),
                                                static_cast<int32_t>(_directives.size()));
            if (added.second) _directives.push_back(*span);
            directive = added.first->second;
        }
        known = _directiveOf.emplace(iStatement, directive).first;
    }
    const int32_t directive = known->second;
    if (directive < 0 || directive == _contexts[iContext].directive) return iContext;
    const uint64_t key = (static_cast<uint64_t>(iContext) << 32) | static_cast<uint32_t>(directive);
    auto added = _childContext.emplace(key, static_cast<int32_t>(_contexts.size()));
    if (added.second) _contexts.push_back(Context{iContext, directive});
    return added.first->second;
}
