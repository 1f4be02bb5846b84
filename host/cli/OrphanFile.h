#ifndef ORPHANFILE_H
#define ORPHANFILE_H

#include <string>
#include <vector>

#include "CommentSyntax.h"
#include "UserCodeSections.h"

// Keeps the user code that a regeneration cannot place (its owner left the
// model) in FILE.orphans beside the output, before the output is replaced.
// It is only ever appended to, never truncated, and each block is written
// with its marker lines so that it can be pasted back as it is.
class OrphanFile {
public:
    // iOutputPath: the generated file (the name used in messages).
    OrphanFile(const std::string& iOutputPath, const CommentSyntax& iSyntax);

    const std::string& Path() const { return _path; }
    // False with oError when the sections could not be saved (then nothing
    // may be written).
    bool Append(const std::vector<UserCodeSections::Section>& iOrphans, std::string& oError) const;

private:
    std::string _outputPath;
    std::string _path;
    CommentSyntax _syntax;
};

#endif
