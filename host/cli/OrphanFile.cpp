#include "OrphanFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

OrphanFile::OrphanFile(const std::string& iOutputPath, const CommentSyntax& iSyntax)
    : _outputPath(iOutputPath), _path(iOutputPath + ".orphans"), _syntax(iSyntax)
{
}

bool OrphanFile::Append(const std::vector<UserCodeSections::Section>& iOrphans, std::string& oError) const
{
    std::string text;
    for (const UserCodeSections::Section& orphan : iOrphans) {
        const size_t slash = _outputPath.rfind('/');
        const std::string name = slash == std::string::npos ? _outputPath : _outputPath.substr(slash + 1);
        text += _syntax.Opener() + " mttgen: from " + name + ":" + std::to_string(orphan.beginLine) +
                "; its owner is no longer in the model\n";
        text += _syntax.BeginLine(orphan.key) + "\n" + orphan.text;
        if (!orphan.text.empty() && orphan.text.back() != '\n') text += '\n';
        text += _syntax.EndLine() + "\n";
    }
    const int fd = ::open(_path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
    bool ok = fd >= 0;
    for (size_t done = 0; ok && done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) continue;
        ok = written > 0;
        if (ok) done += static_cast<size_t>(written);
    }
    ok = ok && ::fsync(fd) == 0;
    const int savedErrno = errno;
    if (fd >= 0 && ::close(fd) != 0 && ok) ok = false;
    if (!ok) oError = "cannot save user code to '" + _path + "': " + std::strerror(savedErrno);
    return ok;
}
