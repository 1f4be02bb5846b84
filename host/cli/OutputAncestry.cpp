#include "OutputAncestry.h"

#include <algorithm>
#include <cctype>

#include "MTTIStatement.h"

namespace {

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The first two words of a directive "[% WORD NAME ..." (after a trim
// marker), or empty words for other template text.
void Words(const std::string& iText, const SourceSpan& iSpan, std::string& oKeyword, std::string& oName)
{
    size_t at = iSpan.begin;
    const size_t end = std::min<size_t>(iSpan.end, iText.size());
    if (iText.compare(at, 2, "[%") != 0) return;
    at += 2;
    if (at < end && (iText[at] == '-' || iText[at] == '+')) ++at;
    std::string* words[] = {&oKeyword, &oName};
    for (std::string* word : words) {
        while (at < end && std::isspace(static_cast<unsigned char>(iText[at]))) ++at;
        const size_t start = at;
        while (at < end && IsWordChar(iText[at])) ++at;
        word->assign(iText, start, at - start);
    }
}

}  // namespace

void OutputAncestry::Start(const SourceMap& iMap, const std::vector<uint32_t>& iFiles)
{
    // A walk over the map of the walk before (--each walks one template
    // for every file) finds its statements as that walk did: a page's
    // templates live as long as the page. Over another map they are looked
    // up afresh. Contexts are the page's own: the recent extensions hold
    // across walks.
    if (&iMap != _map || &iFiles != _files) _statements.clear();
    _map = &iMap;
    _files = &iFiles;
}

int32_t OutputAncestry::NodeContext(const mtt::OutputShape& iShape, size_t iNode, int32_t iParent, int32_t iIndex,
                                    int32_t iParentContext, std::vector<int32_t>& ioDirectives)
{
    const std::vector<mtt::OutputShape::Node>& nodes = iShape.Nodes();
    int32_t context = iParentContext;
    const int32_t directive = DirectiveOfStatement(iShape, nodes[iNode].statement, ioDirectives);
    if (directive >= 0 && _directives[directive].kind == Directive::Kind::kFunction) {
        // A copy: finding the call may add directives.
        const std::string name = _directives[directive].name;
        if (MTTIStatement* call = CallSite(iShape, nodes[static_cast<size_t>(iParent)], iIndex, name)) {
            context = Extend(context, Describe(call));
        }
    }
    return Extend(context, directive);
}

int32_t OutputAncestry::DirectiveOf(const SourceMap& iMap, const SourceSpan& iSpan, const std::vector<uint32_t>& iFiles)
{
    const uint32_t file = iFiles[iSpan.file];
    auto added =
        _spanDirective.emplace(std::make_tuple(file, iSpan.begin, iSpan.end), static_cast<int32_t>(_directives.size()));
    if (added.second) {
        Directive directive{file, iSpan.begin, iSpan.end, Directive::Kind::kOther, std::string()};
        std::string keyword;
        Words(iMap.FileAt(iSpan.file).text, iSpan, keyword, directive.name);
        if (keyword == "call") directive.kind = Directive::Kind::kCall;
        if (keyword == "function") directive.kind = Directive::Kind::kFunction;
        _directives.push_back(std::move(directive));
    }
    return added.first->second;
}

int32_t OutputAncestry::Describe(MTTIStatement* iStatement)
{
    auto known = _statements.find(iStatement);
    if (known != _statements.end()) return known->second;
    const std::optional<SourceSpan> span = iStatement != nullptr ? _map->Find(iStatement) : std::nullopt;
    const int32_t directive = span ? DirectiveOf(*_map, *span, *_files) : -1;
    _statements.emplace(iStatement, directive);
    return directive;
}

MTTIStatement* OutputAncestry::CallSite(const mtt::OutputShape& iShape, const mtt::OutputShape::Node& iParent,
                                        int iIndex, const std::string& iName)
{
    MTTIStatement* holder = iShape.StatementOf(iParent);
    if (holder == nullptr) return nullptr;
    // The statement iNode when it calls the function, else null.
    const auto call = [&](MTTNode* iNode) -> MTTIStatement* {
        MTTIStatement* statement = dynamic_cast<MTTIStatement*>(iNode);
        const int32_t directive = statement != nullptr ? Describe(statement) : -1;
        if (directive < 0) return nullptr;
        const Directive& described = _directives[directive];
        return described.kind == Directive::Kind::kCall && described.name == iName ? statement : nullptr;
    };
    // A list's output has one child per statement, in order; an if, a
    // foreach or a function holds the call as its branch or body.
    if (holder->GetChildCount() == iParent.children) {
        if (MTTIStatement* found = call(holder->GetChild(iIndex + 1))) return found;
    }
    for (int i = 1; i <= holder->GetChildCount(); ++i) {
        if (MTTIStatement* found = call(holder->GetChild(i))) return found;
    }
    return nullptr;
}

int32_t OutputAncestry::ExtendAfresh(int32_t iContext, int32_t iDirective, uint64_t iKey, Extension& ioRecent)
{
    const auto added = _childContext.emplace(iKey, static_cast<int32_t>(_contexts.size()));
    if (added.second) _contexts.push_back(Context{iContext, iDirective});
    ioRecent = Extension{iKey, added.first->second};
    return ioRecent.extended;
}
