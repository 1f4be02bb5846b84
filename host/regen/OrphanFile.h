#ifndef ORPHANFILE_H
#define ORPHANFILE_H

#include <string>
#include <vector>

#include "CommentSyntax.h"
#include "UserCodeSections.h"

// The text of FILE.orphans, where --force keeps the user code that a
// regeneration cannot place (its owner left the model, or the file could
// not say whose it was). The file is only ever added to: each block is
// written with its marker lines so that it can be pasted back as it is.
// It is written in the run's commit, with the outputs.
class OrphanFile {
public:
    // iOutputPath: the generated file (the name used in the blocks).
    OrphanFile(const std::string& iOutputPath, const CommentSyntax& iSyntax);

    const std::string& Path() const { return _path; }
    // iCurrent (the file's text now) with a block for each orphan added.
    std::string Appended(const std::string& iCurrent, const std::vector<UserCodeSections::Section>& iOrphans,
                         const std::string& iWhy) const;

private:
    std::string _outputPath;
    std::string _path;
    CommentSyntax _syntax;
};

#endif
