#include "PositionLocator.h"

#include <memory>
#include <typeinfo>
#include <utility>
#include <vector>

#include "MTTIStatement.h"
#include "SourceMap.h"
#include "StoredTemplateLoader.h"
#include "TemplateParser.h"

PositionLocator::PositionLocator(const MTTIStatement* iRoot, std::string iFileName, const ParseOptions& iOptions)
    : _root(iRoot), _fileName(std::move(iFileName)), _options(iOptions)
{
}

void PositionLocator::operator()(SourceMap& ioMap) const
{
    if (_root == nullptr || ioMap.FileCount() == 0) return;
    const StoredTemplateLoader loader(ioMap);
    ParseOptions options = _options;
    options.loader = &loader;
    options.recordPositions = true;
    TemplateParser parser(_fileName, options);
    const std::unique_ptr<MTTIStatement> twin(parser.Parse(ioMap.FileAt(0).text));
    const SourceMap& twinMap = parser.Map();
    if (!twin || twinMap.FileCount() != ioMap.FileCount()) return;

    // Iterative: a tree may be deeper than the stack allows for recursion.
    std::vector<std::pair<MTTNode*, MTTNode*>> pending{{const_cast<MTTIStatement*>(_root), twin.get()}};
    while (!pending.empty()) {
        const std::pair<MTTNode*, MTTNode*> pair = pending.back();
        pending.pop_back();
        MTTNode* node = pair.first;
        MTTNode* same = pair.second;
        if (node == nullptr || same == nullptr) {
            if (node != same) return;
            continue;
        }
        const int children = node->GetChildCount();
        if (typeid(*node) != typeid(*same) || children != same->GetChildCount()) return;
        if (const std::optional<SourceSpan> span = twinMap.Find(same)) ioMap.Record(node, *span);
        for (int i = children; i >= 1; --i) pending.emplace_back(node->GetChild(i), same->GetChild(i));
    }
}
