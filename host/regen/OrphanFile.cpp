#include "OrphanFile.h"

OrphanFile::OrphanFile(const std::string& iOutputPath, const CommentSyntax& iSyntax)
    : _outputPath(iOutputPath), _path(iOutputPath + ".orphans"), _syntax(iSyntax)
{
}

std::string OrphanFile::Appended(const std::string& iCurrent, const std::vector<UserCodeSections::Section>& iOrphans,
                                 const std::string& iWhy) const
{
    std::string text = iCurrent;
    if (!text.empty() && text.back() != '\n') text += '\n';
    const size_t slash = _outputPath.rfind('/');
    const std::string name = slash == std::string::npos ? _outputPath : _outputPath.substr(slash + 1);
    for (const UserCodeSections::Section& orphan : iOrphans) {
        text +=
            _syntax.CommentLine("mttgen: from " + name + ":" + std::to_string(orphan.beginLine) + "; " + iWhy) + "\n";
        text += _syntax.BeginLine(orphan.key) + "\n" + orphan.text;
        if (!orphan.text.empty() && orphan.text.back() != '\n') text += '\n';
        text += _syntax.EndLine() + "\n";
    }
    return text;
}
