#include "GeneratedText.h"

#include <cstring>

#include "MTTEvaluationOutputLeaf.h"
#include "MTTUserCodeMarkers.h"
#include "UserCodeKeys.h"

namespace {

bool IsMarker(const MTTEvaluationOutputLeaf* iLeaf, const MTTEvaluationOutputLeaf* iUserCode, const char* iText)
{
    return iLeaf->GetLeafType() != MTTLeafUserCode && iLeaf->GetStatement() == iUserCode->GetStatement() &&
           iLeaf->Text() == iText;
}

bool EndsWith(const std::string& iText, char iLast)
{
    return !iText.empty() && iText.back() == iLast;
}

}  // namespace

GeneratedText::GeneratedText(std::vector<MTTEvaluationOutputLeaf*> iLeaves, const UserCodeKeys& iKeys,
                             const SectionNamer& iNamer, const CommentSyntax& iSyntax)
    : _leaves(std::move(iLeaves)),
      _roles(_leaves.size(), Role::kText),
      _sectionOfLeaf(_leaves.size(), 0),
      _syntax(iSyntax),
      _lineEnd("\n")
{
    bool lineEndSeen = false;
    for (size_t i = 0; i < _leaves.size(); ++i) {
        const MTTEvaluationOutputLeaf* leaf = _leaves[i];
        if (!lineEndSeen && _roles[i] == Role::kText) {
            const MTTString& text = leaf->Text();
            const char* at = std::strchr(text.ConvertToChar(), '\n');
            if (at != nullptr) {
                lineEndSeen = true;
                if (at > text.ConvertToChar() && at[-1] == '\r') _lineEnd = "\r\n";
            }
        }
        if (leaf->GetLeafType() != MTTLeafUserCode) continue;
        const size_t section = _sections.size();
        _roles[i] = Role::kUserCode;
        _sectionOfLeaf[i] = section;
        if (i > 0 && _roles[i - 1] == Role::kText && IsMarker(_leaves[i - 1], leaf, MTTUserCodeMarkers::kBegin)) {
            _roles[i - 1] = Role::kBegin;
            _sectionOfLeaf[i - 1] = section;
        }
        if (i + 1 < _leaves.size() && IsMarker(_leaves[i + 1], leaf, MTTUserCodeMarkers::kEnd)) {
            _roles[i + 1] = Role::kEnd;
            _sectionOfLeaf[i + 1] = section;
        }
        const MTLIModelObject* owner = leaf->GetModelObject();
        const MTTIStatement* statement = static_cast<const MTTIStatement*>(leaf->GetStatement());
        UserCodeKeys::Identity identity = iKeys.Of(owner, iNamer ? iNamer(statement) : std::string());
        if (identity.key.empty()) identity.key = "/";
        const MTTString& text = leaf->Text();
        _sections.push_back(Section{std::move(identity.key), std::move(identity.pointer), identity.positional, owner,
                                    statement, std::string(text.ConvertToChar(), text.Length()), i});
    }
}

GeneratedText::GeneratedText(std::string iText, const CommentSyntax& iSyntax)
    : _syntax(iSyntax), _lineEnd("\n"), _text(std::move(iText))
{
}

void GeneratedText::Compose(const std::vector<std::string>& iTexts)
{
    if (_leaves.empty()) return;  // a text of its own, or an empty tree
    size_t size = 0;
    for (const MTTEvaluationOutputLeaf* leaf : _leaves) size += leaf->Text().Length();
    _text.clear();
    _text.reserve(size + _sections.size() * 64);
    _pieces.clear();
    _pieces.reserve(_leaves.size());
    _written.assign(_sections.size(), std::string());
    for (size_t i = 0; i < _leaves.size(); ++i) {
        const size_t begin = _text.size();
        const size_t section = _sectionOfLeaf[i];
        switch (_roles[i]) {
        case Role::kText: {
            const MTTString& text = _leaves[i]->Text();
            _text.append(text.ConvertToChar(), text.Length());
            break;
        }
        case Role::kBegin: _text += _lineEnd + _syntax.BeginLine(_sections[section].key) + _lineEnd; break;
        case Role::kUserCode:
            _text += iTexts[section];
            _written[section] = iTexts[section];
            break;
        case Role::kEnd:
            if (!iTexts[section].empty() && !EndsWith(iTexts[section], '\n')) {
                _text += _lineEnd;
                _written[section] += _lineEnd;
            }
            _text += _syntax.EndLine() + _lineEnd;
            break;
        }
        _pieces.push_back(Piece{_leaves[i], begin, _text.size()});
    }
}

MTTEvaluationOutputLeaf* GeneratedText::LeafAtLine(int iLine) const
{
    int line = 1;
    size_t offset = 0;
    while (line < iLine) {
        offset = _text.find('\n', offset);
        if (offset == std::string::npos) return nullptr;
        ++offset;
        ++line;
    }
    for (const Piece& piece : _pieces) {
        if (piece.end > offset) return piece.leaf;
    }
    return nullptr;
}
