#include "GeneratedText.h"

#include <algorithm>
#include <cstdint>

#include "MTTBlockPool.h"
#include "MTTUserCodeMarkers.h"
#include "UserCodeKeys.h"

namespace {

bool EndsWith(const std::string& iText, char iLast)
{
    return !iText.empty() && iText.back() == iLast;
}

}  // namespace

GeneratedText::GeneratedText(MTTString iText, mtt::OutputShape iShape, const UserCodeKeys& iKeys,
                             const SectionNamer& iNamer, const CommentSyntax& iSyntax)
    : _shape(std::move(iShape)), _source(std::move(iText)), _syntax(iSyntax), _lineEnd("\n")
{
    Find(iKeys, iNamer);
}

GeneratedText::GeneratedText(MTTString iText, const std::vector<MTTTextPiece>& iUserCode, const UserCodeKeys& iKeys,
                             const SectionNamer& iNamer, const CommentSyntax& iSyntax)
    : _source(std::move(iText)), _syntax(iSyntax), _lineEnd("\n")
{
    const std::string_view source = Source();
    size_t done = 0;
    _parts.reserve(2 * iUserCode.size() + 1);
    for (const MTTTextPiece& piece : iUserCode) {
        if (piece.begin < done || piece.end < piece.begin || piece.end > source.size()) continue;  // not as told
        if (piece.begin > done) {
            _parts.push_back(Part{source.substr(done, piece.begin - done), nullptr, nullptr, false});
        }
        _parts.push_back(Part{source.substr(piece.begin, piece.end - piece.begin), piece.statement, piece.object,
                              piece.type == MTTLeafUserCode});
        done = piece.end;
    }
    if (done < source.size()) _parts.push_back(Part{source.substr(done), nullptr, nullptr, false});
    Find(iKeys, iNamer);
}

GeneratedText::GeneratedText(MTTString iText, const CommentSyntax& iSyntax)
    : _source(std::move(iText)), _syntax(iSyntax), _lineEnd("\n"), _textIsSource(true)
{
}

GeneratedText::Part GeneratedText::PartAt(size_t iPart) const
{
    if (_shape.LeafCount() == 0) return _parts[iPart];
    const mtt::OutputShape::Leaf leaf = _shape.LeafAt(iPart);
    const size_t begin = _shape.Begin(iPart);
    return Part{Source().substr(begin, leaf.end - begin), _shape.StatementOf(leaf), leaf.object,
                leaf.Type() == MTTLeafUserCode};
}

void GeneratedText::Find(const UserCodeKeys& iKeys, const SectionNamer& iNamer)
{
    const size_t count = PartCount();
    const bool leaves = _shape.LeafCount() > 0;
    bool lineEndSeen = false;
    for (size_t i = 0; i < count; ++i) {
        // Past the first line end only the user code counts: a million
        // leaves are passed over by their type.
        if (lineEndSeen && leaves && _shape.LeafType(i) != MTTLeafUserCode) continue;
        const Part part = PartAt(i);
        if (!lineEndSeen && RoleOf(i) == Role::kText) {
            const size_t at = part.text.find('\n');
            if (at != std::string_view::npos) {
                lineEndSeen = true;
                if (at > 0 && part.text[at - 1] == '\r') _lineEnd = "\r\n";
            }
        }
        if (!part.userCode) continue;
        const size_t section = _sections.size();
        SetRole(i, Role::kUserCode, section);
        if (i > 0 && RoleOf(i - 1) == Role::kText && IsMarker(i - 1, part, MTTUserCodeMarkers::kBegin)) {
            SetRole(i - 1, Role::kBegin, section);
        }
        if (i + 1 < count && IsMarker(i + 1, part, MTTUserCodeMarkers::kEnd)) SetRole(i + 1, Role::kEnd, section);
        UserCodeKeys::Identity identity = iKeys.Of(part.object, iNamer ? iNamer(part.statement) : std::string());
        if (identity.key.empty()) identity.key = "/";
        _sections.push_back(Section{std::move(identity.key), std::move(identity.pointer), identity.positional,
                                    part.object, part.statement, std::string(part.text)});
    }
}

void GeneratedText::SetRole(size_t iPart, Role iRole, size_t iSection)
{
    if (_roles.empty()) {
        _roles.assign(PartCount(), Role::kText);
        _sectionOfPart.assign(PartCount(), 0);
    }
    _roles[iPart] = iRole;
    _sectionOfPart[iPart] = static_cast<uint32_t>(iSection);
}

// A marker the library wrote around the user code: by the same directive,
// with the marker's text.
bool GeneratedText::IsMarker(size_t iPart, const Part& iUserCode, const char* iText) const
{
    const Part part = PartAt(iPart);
    return !part.userCode && part.statement == iUserCode.statement && part.text == iText;
}

void GeneratedText::Compose(const std::vector<std::string>& iTexts)
{
    const size_t count = PartCount();
    if (count == 0) return;  // a text of its own, or an empty tree
    _partEnds.clear();
    if (_shape.LeafCount() > 0 && _roles.empty()) {
        // Leaves without sections: the text as written, whose leaves end
        // where they ended.
        _textIsSource = true;
        _written.clear();
        _composed = true;
        return;
    }
    size_t size = 0;
    for (size_t i = 0; i < count; ++i) size += PartAt(i).text.size();
    _text.clear();
    _text.reserve(size + _sections.size() * 64);
    _partEnds.reserve(count);
    _written.assign(_sections.size(), std::string());
    // The rendered text's pages go back as its parts are copied, so that a
    // large output is not held twice (the library keeps a freed text's
    // buffer for its next render, pages and all).
    const char* const source = _source.ConvertToChar();
    const auto wholePagesBefore = [source](const char* iAt) -> size_t {
        const uintptr_t at = reinterpret_cast<uintptr_t>(iAt) & ~uintptr_t(4095);
        return at > reinterpret_cast<uintptr_t>(source) ? at - reinterpret_cast<uintptr_t>(source) : 0;
    };
    size_t given = 0;
    const auto giveBack = [&](size_t iUpTo) {
        if (iUpTo > given) MTTBlockPool::DropPages(const_cast<char*>(source) + given, iUpTo - given);
        given = std::max(given, iUpTo);
    };
    for (size_t i = 0; i < count; ++i) {
        const size_t section = _sectionOfPart.empty() ? 0 : _sectionOfPart[i];
        const Part part = PartAt(i);
        switch (RoleOf(i)) {
        case Role::kText: _text.append(part.text); break;
        case Role::kBegin:
            _text += _lineEnd;
            _syntax.AppendBeginLine(_text, _sections[section].key);
            _text += _lineEnd;
            break;
        case Role::kUserCode:
            _text += iTexts[section];
            _written[section] = iTexts[section];
            break;
        case Role::kEnd:
            if (!iTexts[section].empty() && !EndsWith(iTexts[section], '\n')) {
                _text += _lineEnd;
                _written[section] += _lineEnd;
            }
            _syntax.AppendEndLine(_text);
            _text += _lineEnd;
            break;
        }
        _partEnds.push_back(_text.size());
        const size_t done = wholePagesBefore(part.text.data() + part.text.size());
        if (!part.text.empty() && done >= given + (size_t(64) << 10)) giveBack(done);
    }
    giveBack(_source.Length());
    for (Part& part : _parts) part.text = std::string_view();
    _source.Clear();
    _composed = true;
}

void GeneratedText::ForgetPieces()
{
    // A small output's are kept: let go of one by one, ten thousand files'
    // took a tenth more time than the run and held little.
    const size_t kForgetFrom = size_t(1) << 14;
    if (_shape.LeafCount() < kForgetFrom) return;
    // The text is composed by now: what placed its parts is not needed.
    _shape = mtt::OutputShape();
    std::vector<Role>().swap(_roles);
    std::vector<uint32_t>().swap(_sectionOfPart);
    std::vector<size_t>().swap(_partEnds);
    _composed = false;
}

const MTTIStatement* GeneratedText::StatementAtLine(int iLine) const
{
    int line = 1;
    size_t offset = 0;
    const std::string_view text = Text();
    while (line < iLine) {
        offset = text.find('\n', offset);
        if (offset == std::string::npos) return nullptr;
        ++offset;
        ++line;
    }
    for (size_t i = 0; _composed && i < PartCount(); ++i) {
        if (PartEnd(i) > offset) {
            return _shape.LeafCount() == 0 ? _parts[i].statement : _shape.Statement(_shape.LeafStatement(i));
        }
    }
    return nullptr;
}
