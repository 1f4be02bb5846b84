#include "CommentSyntax.h"

#include <algorithm>
#include <cctype>

#include "MarkerWords.h"

namespace {

// Every comment syntax of marker lines, and the files that take it. A
// file takes the first entry naming its whole name, else its extension.
struct SyntaxEntry {
    const char* opener;
    const char* closer;
    std::vector<const char*> extensions;
    std::vector<const char*> names;
};

const std::vector<SyntaxEntry>& Table()
{
    static const std::vector<SyntaxEntry> table = {
        {"//", "", {}, {}},
        {"#",
         "",
         {"py", "sh", "bash", "rb", "pl", "r", "yaml", "yml", "toml", "cmake", "mk", "cfg", "conf"},
         {"CMakeLists.txt", "Makefile", "Dockerfile", ".gitignore"}},
        {"--", "", {"sql", "lua", "hs", "ada", "adb", "ads"}, {}},
        {"<!--", "-->", {"html", "htm", "xml", "xsd", "svg", "md", "vue"}, {}},
        {"/*", "*/", {"css"}, {}},
    };
    return table;
}

std::string Lowered(std::string iText)
{
    std::transform(iText.begin(), iText.end(), iText.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return iText;
}

}  // namespace

CommentSyntax::CommentSyntax() : _open(MarkerWords::Get().libraryOpener) {}

CommentSyntax::CommentSyntax(std::string iOpen, std::string iClose) : _open(std::move(iOpen)), _close(std::move(iClose))
{
}

const std::vector<CommentSyntax>& CommentSyntax::Known()
{
    static const std::vector<CommentSyntax> known = [] {
        std::vector<CommentSyntax> syntaxes;
        for (const SyntaxEntry& entry : Table()) syntaxes.push_back(CommentSyntax(entry.opener, entry.closer));
        return syntaxes;
    }();
    return known;
}

size_t CommentSyntax::Index() const
{
    const std::vector<CommentSyntax>& known = Known();
    return static_cast<size_t>(std::find(known.begin(), known.end(), *this) - known.begin());
}

std::string CommentSyntax::KnownOpeners()
{
    std::string text;
    const std::vector<SyntaxEntry>& table = Table();
    for (size_t i = 0; i < table.size(); ++i) {
        text += i == 0 ? "" : i + 1 == table.size() ? " or " : ", ";
        text += table[i].opener;
    }
    return text;
}

std::string CommentSyntax::ExtensionSummary()
{
    std::string text;
    for (const SyntaxEntry& entry : Table()) {
        if (entry.extensions.empty() && entry.names.empty()) continue;
        text += entry.opener;
        if (*entry.closer != '\0') text += std::string(" ") + entry.closer;
        text += " for";
        for (const char* extension : entry.extensions) text += std::string(" .") + extension;
        for (const char* name : entry.names) text += std::string(" ") + name;
        text += ", ";
    }
    return text + Table().front().opener + " otherwise";
}

bool CommentSyntax::FromOpener(const std::string& iOpener, CommentSyntax* oSyntax)
{
    for (const SyntaxEntry& entry : Table()) {
        if (iOpener != entry.opener) continue;
        if (oSyntax != nullptr) *oSyntax = CommentSyntax(entry.opener, entry.closer);
        return true;
    }
    return false;
}

CommentSyntax CommentSyntax::ForFile(const std::string& iPath)
{
    const size_t slash = iPath.rfind('/');
    const std::string name = slash == std::string::npos ? iPath : iPath.substr(slash + 1);
    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : Lowered(name.substr(dot + 1));
    for (const SyntaxEntry& entry : Table()) {
        for (const char* whole : entry.names) {
            if (name == whole) return CommentSyntax(entry.opener, entry.closer);
        }
    }
    for (const SyntaxEntry& entry : Table()) {
        for (const char* known : entry.extensions) {
            if (!extension.empty() && extension == known) return CommentSyntax(entry.opener, entry.closer);
        }
    }
    return CommentSyntax();
}

std::string CommentSyntax::BeginLine(const std::string& iKey) const
{
    std::string line;
    AppendBeginLine(line, iKey);
    return line;
}

std::string CommentSyntax::EndLine() const
{
    std::string line;
    AppendEndLine(line);
    return line;
}

void CommentSyntax::AppendBeginLine(std::string& ioText, const std::string& iKey) const
{
    ioText += _open;
    ioText += MarkerWords::Get().begin;
    if (!iKey.empty()) {
        ioText += ' ';
        ioText += iKey;
    }
    if (!_close.empty()) {
        ioText += ' ';
        ioText += _close;
    }
}

void CommentSyntax::AppendEndLine(std::string& ioText) const
{
    ioText += _open;
    ioText += MarkerWords::Get().end;
    if (!_close.empty()) {
        ioText += ' ';
        ioText += _close;
    }
}

std::string CommentSyntax::CommentLine(const std::string& iText) const
{
    return _close.empty() ? _open + " " + iText : _open + " " + iText + " " + _close;
}
