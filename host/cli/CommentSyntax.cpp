#include "CommentSyntax.h"

#include <algorithm>
#include <cctype>

#include "MTTUserCodeMarkers.h"

namespace {

// The library's marker leaves are the "//" syntax ("\n// Begin of User
// Code\n", "// End of User Code\n"): the opener of older files and the
// marker words come from them.
struct LibraryMarkers {
    std::string opener;       // "//"
    std::string beginWords;   // " Begin of User Code"
    std::string endWords;     // " End of User Code"
    std::string commonWords;  // " of User Code"
};

std::string MarkerLine(const char* iLeaf)
{
    std::string line(iLeaf);
    line.erase(0, line.find_first_not_of('\n'));
    line.erase(line.find_last_not_of('\n') + 1);
    return line;
}

const LibraryMarkers& Library()
{
    static const LibraryMarkers markers = [] {
        const std::string begin = MarkerLine(MTTUserCodeMarkers::kBegin);
        const std::string end = MarkerLine(MTTUserCodeMarkers::kEnd);
        LibraryMarkers words;
        words.opener = begin.substr(0, begin.find(' '));
        words.beginWords = begin.substr(words.opener.size());
        words.endWords = end.substr(words.opener.size());
        words.commonWords = words.endWords.substr(words.endWords.find(" of "));
        return words;
    }();
    return markers;
}

struct ByExtension {
    const char* extension;
    const char* opener;
};

const ByExtension kExtensions[] = {
    {"py", "#"},     {"sh", "#"},    {"rb", "#"},     {"yaml", "#"}, {"yml", "#"}, {"toml", "#"},
    {"cmake", "#"},  {"pl", "#"},    {"sql", "--"},   {"lua", "--"}, {"hs", "--"}, {"html", "<!--"},
    {"xml", "<!--"}, {"md", "<!--"}, {"vue", "<!--"}, {"css", "/*"},
};

std::string Trimmed(const std::string& iText)
{
    size_t begin = 0;
    size_t end = iText.size();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (begin < end && blank(iText[begin])) ++begin;
    while (end > begin && blank(iText[end - 1])) --end;
    return iText.substr(begin, end - begin);
}

bool StartsWith(const std::string& iText, const std::string& iPrefix)
{
    return iText.compare(0, iPrefix.size(), iPrefix) == 0;
}

bool EndsWith(const std::string& iText, const std::string& iSuffix)
{
    return iText.size() >= iSuffix.size() && iText.compare(iText.size() - iSuffix.size(), iSuffix.size(), iSuffix) == 0;
}

}  // namespace

CommentSyntax::CommentSyntax() : _open(Library().opener) {}

CommentSyntax::CommentSyntax(std::string iOpen, std::string iClose) : _open(std::move(iOpen)), _close(std::move(iClose))
{
}

bool CommentSyntax::FromOpener(const std::string& iOpener, CommentSyntax* oSyntax)
{
    CommentSyntax syntax;
    if (iOpener == "//" || iOpener == "#" || iOpener == "--") {
        syntax = CommentSyntax(iOpener, "");
    } else if (iOpener == "<!--") {
        syntax = CommentSyntax(iOpener, "-->");
    } else if (iOpener == "/*") {
        syntax = CommentSyntax(iOpener, "*/");
    } else {
        return false;
    }
    if (oSyntax != nullptr) *oSyntax = syntax;
    return true;
}

CommentSyntax CommentSyntax::ForFile(const std::string& iPath)
{
    const size_t slash = iPath.rfind('/');
    const size_t dot = iPath.rfind('.');
    CommentSyntax syntax;
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return syntax;
    std::string extension = iPath.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const ByExtension& entry : kExtensions) {
        if (extension == entry.extension) FromOpener(entry.opener, &syntax);
    }
    return syntax;
}

std::string CommentSyntax::BeginLine(const std::string& iKey) const
{
    std::string line = _open + Library().beginWords;
    if (!iKey.empty()) line += " " + iKey;
    if (!_close.empty()) line += " " + _close;
    return line;
}

std::string CommentSyntax::EndLine() const
{
    return _close.empty() ? _open + Library().endWords : _open + Library().endWords + " " + _close;
}

CommentSyntax::Marker CommentSyntax::Read(std::string_view iLine, std::string& oKey, std::string& oBefore) const
{
    oKey.clear();
    oBefore.clear();
    // Cheap test first: almost every line of a file is not a marker.
    if (iLine.find(Library().commonWords) == std::string::npos) return Marker::kNone;
    const std::string line = Trimmed(std::string(iLine));
    const std::string closer = _close.empty() ? std::string() : " " + _close;
    for (const std::string& open : {_open, Library().opener}) {
        const std::string begin = open + Library().beginWords;
        const bool own = open == _open;
        if (StartsWith(line, begin)) {
            std::string rest = line.substr(begin.size());
            if (own && !closer.empty()) {
                if (!EndsWith(rest, closer)) continue;
                rest.resize(rest.size() - closer.size());
            }
            if (!rest.empty() && rest[0] != ' ') continue;  // "Begin of User Codes"
            oKey = Trimmed(rest);
            if (!own && !oKey.empty()) continue;  // old files have no keys
            return Marker::kBegin;
        }
        const std::string end = open + Library().endWords + (own ? closer : std::string());
        if (line == end) return Marker::kEnd;
        if (EndsWith(line, end)) {
            // The end marker right after the user's text, as older files have it.
            oBefore = std::string(iLine.substr(0, iLine.rfind(end)));
            return Marker::kEnd;
        }
    }
    return Marker::kNone;
}
