#include "SourceMap.h"

#include <algorithm>

uint32_t SourceMap::AddFile(std::string iName, std::string iText, const SourceSpan* iIncludedFrom)
{
    File file;
    file.name = std::move(iName);
    file.text = std::move(iText);
    if (iIncludedFrom != nullptr) {
        file.included = true;
        file.includedFrom = *iIncludedFrom;
    }
    // One offset between files, so that even an empty file's span is its own.
    file.base = static_cast<uint32_t>(std::min<uint64_t>(_nextBase, UINT32_MAX));
    _nextBase += file.text.size() + 1;
    _files.push_back(std::move(file));
    _lineStarts.emplace_back();
    _lineStartsMade.emplace_back();
    return static_cast<uint32_t>(_files.size() - 1);
}

std::string SourceMap::DisplayName(uint32_t iFile) const
{
    const std::string& name = _files[iFile].name;
    return name == "-" ? std::string("<stdin>") : name;
}

void SourceMap::Record(const MTTNode* iNode, const SourceSpan& iSpan)
{
    const uint32_t base = _files[iSpan.file].base;
    _spans.push_back(Entry{iNode, base + iSpan.begin, base + iSpan.end});
    _sealed = false;
}

void SourceMap::Seal()
{
    // A node is recorded once, so the order of equal keys does not matter.
    std::sort(_spans.begin(), _spans.end(),
              [](const Entry& a, const Entry& b) { return std::less<const MTTNode*>()(a.node, b.node); });
    _sealed = true;
}

void SourceMap::LocateLater(std::function<void(SourceMap&)> iLocate)
{
    _locate = std::move(iLocate);
}

std::optional<SourceSpan> SourceMap::Find(const MTTNode* iNode) const
{
    if (_locate) {
        // The entries are a cache of what the texts say: made once, here.
        std::call_once(_located, [this] {
            SourceMap& self = const_cast<SourceMap&>(*this);
            _locate(self);
            self.Seal();
        });
    }
    auto found = _spans.end();
    if (!_sealed) {
        found = std::find_if(_spans.begin(), _spans.end(), [iNode](const Entry& a) { return a.node == iNode; });
    } else {
        found = std::lower_bound(_spans.begin(), _spans.end(), iNode, [](const Entry& a, const MTTNode* b) {
            return std::less<const MTTNode*>()(a.node, b);
        });
        if (found != _spans.end() && found->node != iNode) found = _spans.end();
    }
    if (found == _spans.end()) return std::nullopt;
    // The last file that starts at or before the span.
    auto file = std::upper_bound(_files.begin(), _files.end(), found->begin,
                                 [](uint32_t a, const File& b) { return a < b.base; });
    SourceSpan span;
    span.file = static_cast<uint32_t>(file - _files.begin() - 1);
    span.begin = found->begin - file[-1].base;
    span.end = found->end - file[-1].base;
    return span;
}

const std::vector<uint32_t>& SourceMap::LineStarts(uint32_t iFile) const
{
    std::vector<uint32_t>& starts = _lineStarts[iFile];
    std::call_once(_lineStartsMade[iFile], [&starts, &text = _files[iFile].text] {
        starts.push_back(0);
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') starts.push_back(static_cast<uint32_t>(i + 1));
        }
    });
    return starts;
}

void SourceMap::LineColumn(const SourceSpan& iSpan, int& oLine, int& oColumn) const
{
    const std::vector<uint32_t>& starts = LineStarts(iSpan.file);
    const size_t line =
        static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), iSpan.begin) - starts.begin());
    oLine = static_cast<int>(line);
    oColumn = static_cast<int>(iSpan.begin - starts[line - 1]) + 1;
}

std::string SourceMap::Where(const SourceSpan& iSpan) const
{
    int line = 0;
    int column = 0;
    LineColumn(iSpan, line, column);
    return DisplayName(iSpan.file) + ":" + std::to_string(line) + ":" + std::to_string(column);
}

std::string SourceMap::Excerpt(const SourceSpan& iSpan, size_t iMax) const
{
    const std::string& text = _files[iSpan.file].text;
    const size_t end = std::min<size_t>(iSpan.end, text.size());
    std::string excerpt;
    bool blank = false;
    for (size_t i = iSpan.begin; i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            blank = true;
            continue;
        }
        if (blank && !excerpt.empty()) excerpt += ' ';
        blank = false;
        if (excerpt.size() >= iMax) {
            excerpt += "...";
            break;
        }
        excerpt += c < 0x20 ? '?' : static_cast<char>(c);
    }
    return excerpt;
}
