#include "PropertyReference.h"

#include "DirectiveLexer.h"
#include "ListOfMTTString.h"
#include "MTTNodeFactory.h"
#include "SourceText.h"
#include "TemplateSyntaxError.h"
#include "mtt_transforms.h"
#include "mtt_value_ref.h"

namespace {

// "a, b or c": the names users may write, from the tables the model and the
// runtime read them with.
template <class Entry, size_t N, class Name>
std::string ListOf(const Entry (&iEntries)[N], Name iName, const char* iPrefix)
{
    std::string list;
    for (size_t i = 0; i < N; ++i) {
        list += std::string(i == 0 ? "" : i + 1 == N ? " or " : ", ") + iPrefix + iName(iEntries[i]);
    }
    return list;
}

bool IsLoopValue(const std::string& iWord)
{
    for (const auto& derived : mtt_runtime::ValueRef::kDerived) {
        if (iWord == derived.word) return true;
    }
    return false;
}

// Reads the property's content from left to right; every failure names the
// offending byte's position.
class RefScanner {
public:
    RefScanner(const char* iContent, size_t iLength, size_t iOffset) : _s(iContent), _n(iLength), _offset(iOffset) {}

    bool AtEnd() const { return _p == _n; }
    char Peek() const { return _s[_p]; }
    size_t Position() const { return _p; }
    void Skip() { ++_p; }
    std::string Since(size_t iStart) const { return std::string(_s + iStart, _p - iStart); }

    std::string Word()
    {
        const size_t start = _p;
        while (_p < _n && DirectiveLexer::IsNameChar(_s[_p])) ++_p;
        return Since(start);
    }

    // A quoted name, kept as written.
    std::string Quoted()
    {
        const size_t start = _p++;
        while (_p < _n && _s[_p] != '"') {
            if (_s[_p] == '\\') {
                const char e = _p + 1 < _n ? _s[_p + 1] : '\0';
                if (e != '"' && e != '\\') {
                    throw Error(_p,
                                std::string("unknown escape '\\") + e + "' in a quoted name; expected \\\" or \\\\");
                }
                ++_p;
            }
            ++_p;
        }
        if (_p == _n) throw Error(_p, "expected '\"' to close the quoted name");
        ++_p;
        return Since(start);
    }

    // "(" arguments ")" of a transform, with where each starts.
    void Arguments(std::vector<mtt_runtime::Value>& oArguments, std::vector<size_t>& oOffsets)
    {
        size_t failedAt = 0;
        const size_t end =
            mtt_runtime::ValueRef::ReadArguments(std::string_view(_s, _n), _p, oArguments, failedAt, &oOffsets);
        if (end == std::string_view::npos) {
            _p = failedAt;
            if (!AtEnd() && Peek() == '"')
                throw Error(_p, "a string may hold the escapes \\\", \\\\, \\n and \\t only");
            throw Expected("an argument (a string, a whole number, true or false), ',' or ')'");
        }
        _p = end;
    }

    TemplateSyntaxError Expected(const char* iWhat) const
    {
        const std::string found = AtEnd() ? std::string("'}'") : "'" + std::string(1, _s[_p]) + "'";
        return Error(_p, std::string("expected ") + iWhat + " in the property, found " + found);
    }

    TemplateSyntaxError Error(size_t iAt, const std::string& iWhat) const
    {
        return TemplateSyntaxError(_offset + iAt, iWhat);
    }

private:
    const char* _s;
    size_t _n;
    size_t _offset;
    size_t _p = 0;
};

}  // namespace

PropertyReference::PropertyReference(std::string iRef, bool iRelative, std::vector<std::string> iPath)
    : _ref(std::move(iRef)), _relative(iRelative), _path(std::move(iPath))
{
}

PropertyReference PropertyReference::Parse(const char* iContent, size_t iLength, size_t iOffset)
{
    RefScanner in(iContent, iLength, iOffset);
    PropertyReference result;

    if (!in.AtEnd() && in.Peek() != ':') {
        const size_t start = in.Position();
        if (in.Peek() == '"') {
            in.Quoted();
            result._memberLength = in.Position();
        } else if (in.Peek() == '@') {
            in.Skip();
            const std::string word = in.Word();
            if (word.empty()) throw in.Expected("a loop value such as @index after '@'");
            if (!IsLoopValue(word)) {
                using Derived = mtt_runtime::ValueRef::Derived;
                const std::string known = ListOf(
                    mtt_runtime::ValueRef::kDerived, [](const Derived& iEntry) { return iEntry.word; }, "@");
                throw in.Error(start, "unknown loop value '@" + word + "'; expected " + known + " (write ${\"@" + word +
                                          "\"} for a member of that name)");
            }
        } else {
            const std::string word = in.Word();
            if (word.empty()) throw in.Expected("a name");
            if (word == "..") {
                throw in.Error(start,
                               "'..' is not a value name: the enclosing object is reached by a path, as in "
                               "${name:..}; a member named '..' is written ${\"..\"}");
            }
            if (word != ".") result._memberLength = in.Position();
        }
        while (!in.AtEnd() && in.Peek() == '|') {
            in.Skip();
            const size_t at = in.Position();
            const std::string transform = in.Word();
            if (transform.empty()) throw in.Expected("a transform after '|'");
            const mtt_runtime::Transform* entry = mtt_runtime::FindTransform(transform);
            if (entry == nullptr) throw in.Error(at, UnknownTransform(transform));
            std::vector<mtt_runtime::Value> arguments;
            std::vector<size_t> offsets;
            if (!in.AtEnd() && in.Peek() == '(') in.Arguments(arguments, offsets);
            const std::string count = mtt_runtime::CheckArgumentCount(*entry, arguments.size());
            if (!count.empty()) throw in.Error(at, count);
            for (size_t i = 0; i < arguments.size(); ++i) {
                const std::string problem = mtt_runtime::CheckArgument(*entry, i, arguments[i]);
                if (!problem.empty()) throw in.Error(offsets[i], problem);
            }
        }
        result._ref = in.Since(start);
        if (in.AtEnd()) return result;
        if (in.Peek() != ':') throw in.Expected("'|', ':' or '}'");
    } else if (in.AtEnd()) {
        throw in.Expected("a name");
    }
    in.Skip();  // ':'
    if (!in.AtEnd() && in.Peek() == '/') {
        result._relative = false;
        in.Skip();
        if (in.AtEnd()) return result;  // "${name:/}": a value of the root
    } else if (in.AtEnd()) {
        throw in.Expected("a path after ':'");
    }
    for (;;) {
        const size_t at = in.Position();
        std::string element = !in.AtEnd() && in.Peek() == '"' ? in.Quoted() : in.Word();
        if (element.empty()) throw in.Expected("a path element");
        CheckElement(element, iOffset + at);
        result._path.push_back(std::move(element));
        if (in.AtEnd()) return result;
        if (in.Peek() != '/') throw in.Expected("'/' or '}'");
        in.Skip();
    }
}

size_t PropertyReference::FindEnd(const SourceText& iSource, size_t iOpen, size_t iLimit)
{
    const std::string& s = iSource.Text();
    size_t p = iOpen + 2;
    // Outside quotes a property cannot hold "%]": stopping there points at
    // the directive the property was left open in.
    while (p < iLimit && s[p] != '\n' && !(s[p] == '%' && p + 1 < iLimit && s[p + 1] == ']')) {
        if (s[p] == '}') return p;
        if (s[p] != '"') {
            ++p;
            continue;
        }
        size_t q = p + 1;
        while (q < iLimit && s[q] != '"' && s[q] != '\n') {
            q += (s[q] == '\\' && q + 1 < iLimit && s[q + 1] != '\n') ? 2 : 1;
        }
        if (q >= iLimit || s[q] != '"') {
            throw TemplateSyntaxError(q, "expected '\"' to close the quoted name opened at " + iSource.Where(p) +
                                             " (a name cannot span lines)");
        }
        p = q + 1;
    }
    throw TemplateSyntaxError(p, "expected '}' to close the property opened at " + iSource.Where(iOpen));
}

std::string PropertyReference::UnknownTransform(const std::string& iName)
{
    const std::string known = ListOf(
        mtt_runtime::kTransforms, [](const mtt_runtime::Transform& iEntry) { return iEntry.name; }, "");
    return "unknown transform '" + iName + "'; expected " + known;
}

std::string PropertyReference::Quote(const std::string& iText)
{
    std::string quoted = "\"";
    for (char c : iText) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

void PropertyReference::CheckElement(const std::string& iElement, size_t iOffset)
{
    if (iElement == ".") {
        throw TemplateSyntaxError(iOffset,
                                  "'.' is not a path element (leave it out for the current object, "
                                  "or write '..' for the enclosing one)");
    }
}

ExpressionOwner PropertyReference::Make(MTTNodeFactory& iFactory, bool iStrict, ListOfMTTString& ioPath) const
{
    ListOfMTTString& path = ioPath;
    path.RemoveAll();
    for (const std::string& element : _path) path.Append(MTTString(element.data(), element.size()));
    if (!(iStrict && _memberLength > 0)) {
        MTTString name(_ref.data(), _ref.size());
        return ExpressionOwner(iFactory.makeExpProperty(path, _relative, name));
    }
    std::string ref;
    std::vector<std::string> elements;
    Strictly(iStrict, ref, elements);
    path.Append(MTTString(elements.back().data(), elements.back().size()));
    MTTString name(ref.data(), ref.size());
    return ExpressionOwner(iFactory.makeExpProperty(path, _relative, name));
}

std::string PropertyReference::Write(bool iStrict) const
{
    std::vector<std::string> elements;
    std::string text;
    Strictly(iStrict, text, elements);
    text = "${" + text;
    if (!elements.empty() || !_relative) text += ":";
    if (!_relative) text += "/";
    for (size_t i = 0; i < elements.size(); ++i) text += (i == 0 ? "" : "/") + elements[i];
    return text + "}";
}

void PropertyReference::Strictly(bool iStrict, std::string& oRef, std::vector<std::string>& oPath) const
{
    oPath = _path;
    oRef = _ref;
    if (iStrict && _memberLength > 0) {
        // The walk skips a leading "this"; quoted, it stays a member's name.
        std::string member = _ref.substr(0, _memberLength);
        if (member == "this") member = Quote(member);
        oPath.push_back(std::move(member));
        oRef = "." + _ref.substr(_memberLength);
    }
}
