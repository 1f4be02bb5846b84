#include "ValueSource.h"

#include <cctype>

#include "ModelNodeTable.h"
#include "PropertyReference.h"
#include "TemplateSyntaxError.h"
#include "mtt_path_element.h"
#include "mtt_value_ref.h"

namespace {

std::string TrimmedPart(const std::string& iText, size_t iBegin, size_t iEnd)
{
    while (iBegin < iEnd && std::isspace(static_cast<unsigned char>(iText[iBegin]))) ++iBegin;
    while (iEnd > iBegin && std::isspace(static_cast<unsigned char>(iText[iEnd - 1]))) --iEnd;
    return iText.substr(iBegin, iEnd - iBegin);
}

bool IsName(const std::string& iText)
{
    if (iText.empty() || std::isdigit(static_cast<unsigned char>(iText[0]))) return false;
    for (char c : iText) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    }
    return true;
}

// "${...}" as a whole: its content; else empty.
bool PropertyContent(const std::string& iText, std::string& oContent)
{
    if (iText.size() < 3 || iText.compare(0, 2, "${") != 0 || iText.back() != '}') return false;
    // One property only: no "}" outside quotes before the last.
    bool quoted = false;
    for (size_t at = 2; at + 1 < iText.size(); ++at) {
        if (quoted && iText[at] == '\\') {
            ++at;
        } else if (iText[at] == '"') {
            quoted = !quoted;
        } else if (iText[at] == '}' && !quoted) {
            return false;
        }
    }
    oContent = iText.substr(2, iText.size() - 3);
    return true;
}

// The comma-separated parts between the first "(" and its ")", outside
// quotes and nested brackets; empty when there are none.
std::vector<std::string> Parenthesised(const std::string& iText)
{
    std::vector<std::string> parts;
    const size_t open = iText.find('(');
    if (open == std::string::npos) return parts;
    int depth = 0;
    bool quoted = false;
    size_t start = open + 1;
    for (size_t at = open + 1; at < iText.size(); ++at) {
        const char c = iText[at];
        if (quoted) {
            if (c == '\\') ++at;
            if (c == '"') quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == '(' || c == '{' || c == '[') {
            ++depth;
        } else if ((c == ')' || c == '}' || c == ']') && depth > 0) {
            --depth;
        } else if (c == ',' && depth == 0) {
            parts.push_back(TrimmedPart(iText, start, at));
            start = at + 1;
        } else if (c == ')') {
            const std::string last = TrimmedPart(iText, start, at);
            if (!last.empty() || !parts.empty()) parts.push_back(last);
            return parts;
        }
    }
    return std::vector<std::string>();
}

}  // namespace

const ValueSource::Printed& ValueSource::Describe(const MTTIStatement* iStatement, const SourceMap& iMap)
{
    if (_map != &iMap) {
        // Statements of another template may sit at the same addresses.
        _printed.clear();
        for (auto& recent : _recent) recent = {nullptr, nullptr};
        _map = &iMap;
    }
    auto& recent = _recent[Recent(iStatement)];
    auto known = _printed.find(iStatement);
    if (known != _printed.end()) {
        recent = {iStatement, &known->second};
        return known->second;
    }
    Printed printed;
    if (const std::optional<SourceSpan> span = iMap.Find(iStatement)) {
        const std::string& text = iMap.FileAt(span->file).text;
        const std::string whole = text.substr(span->begin, span->end - span->begin);
        std::string content;
        if (PropertyContent(whole, content)) {
            printed.kind = Printed::Kind::kProperty;
            printed.property = Parse(content);
        } else if (whole.compare(0, 3, "[%=") == 0 && whole.size() >= 5 &&
                   whole.compare(whole.size() - 2, 2, "%]") == 0) {
            size_t end = whole.size() - 2;
            if (end > 3 && whole[end - 1] == '-') --end;
            const std::string expression = TrimmedPart(whole, 3, end);
            if (PropertyContent(expression, content)) {
                printed.kind = Printed::Kind::kProperty;
                printed.property = Parse(content);
            } else if (IsName(expression)) {
                printed.kind = Printed::Kind::kParameter;
                printed.parameter = expression;
            }
        }
    }
    const Printed& added = _printed.emplace(iStatement, std::move(printed)).first->second;
    recent = {iStatement, &added};
    return added;
}

int32_t ValueSource::Resolved(const Printed& iPrinted, int32_t iObject, const CallChain& iCalls) const
{
    switch (iPrinted.kind) {
    case Printed::Kind::kProperty: return Resolve(iPrinted.property, iObject);
    case Printed::Kind::kParameter: return ResolveParameter(iPrinted.parameter, iObject, iCalls);
    case Printed::Kind::kNothing: break;
    }
    return -1;
}

int32_t ValueSource::ResolveParameter(std::string iName, int32_t iObject, const CallChain& iCalls) const
{
    if (!iCalls) return -1;
    // A parameter passed on as another call's argument is followed out.
    for (const Call& call : iCalls()) {
        const std::vector<std::string> parameters = Parenthesised(call.function);
        const std::vector<std::string> arguments = Parenthesised(call.call);
        size_t at = 0;
        while (at < parameters.size() && parameters[at] != iName) ++at;
        if (at == parameters.size() || at >= arguments.size()) return -1;
        std::string content;
        if (PropertyContent(arguments[at], content)) return Resolve(Parse(content), iObject);
        if (!IsName(arguments[at])) return -1;
        iName = arguments[at];
    }
    return -1;
}

ValueSource::Property ValueSource::Parse(const std::string& iContent) const
{
    Property property;
    PropertyReference reference;
    try {
        reference = PropertyReference::Parse(iContent.data(), iContent.size(), 0);
    } catch (const TemplateSyntaxError&) {
        return property;
    }
    property.absolute = !reference.IsRelative();
    for (const std::string& text : reference.Path()) {
        const mtt_runtime::PathElement element = mtt_runtime::PathElement::Parse(text);
        using Step = Property::Step;
        switch (element.GetKind()) {
        case mtt_runtime::PathElement::kMember:
            property.path.push_back(Step{Step::Kind::kMember, 0, _table.KeyOf(element.Name())});
            break;
        case mtt_runtime::PathElement::kIndex:
            property.path.push_back(Step{Step::Kind::kIndex, element.Index(), _table.KeyOf(element.Name())});
            break;
        case mtt_runtime::PathElement::kParent: property.path.push_back(Step{Step::Kind::kParent, 0, 0}); break;
        default: return property;  // user code, tests and selections: not in the table
        }
    }
    const mtt_runtime::ValueRef ref = mtt_runtime::ValueRef::Parse(reference.Ref());
    if (ref.GetBase() == mtt_runtime::ValueRef::kInvalid) return property;
    // ".", a loop value, a computed value: the object itself.
    if (ref.GetBase() == mtt_runtime::ValueRef::kMember) {
        property.member = ref.Name();
        property.memberKey = _table.KeyOf(property.member);
    }
    property.valid = true;
    return property;
}

int32_t ValueSource::Resolve(const Property& iProperty, int32_t iObject) const
{
    if (!iProperty.valid) return -1;
    int32_t node = iProperty.absolute ? 0 : iObject;
    for (const Property::Step& step : iProperty.path) {
        if (node < 0) return -1;
        switch (step.kind) {
        case Property::Step::Kind::kMember: node = _table.Member(node, step.key); break;
        case Property::Step::Kind::kIndex:
            // Digits name a member of an object, an element of a list.
            node = _table.IsObject(node) ? _table.Member(node, step.key) : _table.Element(node, step.index);
            break;
        case Property::Step::Kind::kParent: node = _table.Enclosing(node); break;
        }
    }
    if (node < 0 || iProperty.member.empty()) return node;
    return _table.Member(node, iProperty.memberKey);
}
