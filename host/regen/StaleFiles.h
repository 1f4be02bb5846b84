#ifndef STALEFILES_H
#define STALEFILES_H

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Manifest.h"
#include "MttFileSet.h"

class OutputFile;

// The files an earlier run of the same name wrote (the manifest says so)
// that this run no longer writes: their model element has gone, or was
// renamed. One that holds user code, or was changed by hand, is refused
// with its sections named; with --force its sections go to FILE.orphans,
// a changed file is kept as FILE.edited, and it is removed. One that holds
// nothing a person wrote is reported, and removed with --prune.
class StaleFiles {
public:
    using Report = std::function<void(const mtt::FileMessage&)>;

    // Files are found in iOptions.root, where the manifest is.
    StaleFiles(const mtt::FileSetOptions& iOptions, Report iReport);
    ~StaleFiles();

    // iWritten: the files of this run, relative to the root; iRuns: the
    // names under which it records them. Files gone from the disk are
    // dropped from ioManifest.
    mtt::FileSetStatus Plan(Manifest& ioManifest, const std::set<std::string>& iWritten,
                            const std::set<std::string>& iRuns);
    // The files a commit would remove, with their texts.
    std::vector<std::pair<std::string, std::string>> Removals() const;
    // The removals and what is kept beside them, in commit order.
    mtt::FileSetStatus Prepare(std::vector<OutputFile*>& oFiles);
    // Drops the removed files from ioManifest.
    void Forget(Manifest& ioManifest) const;
    void ReportDone() const;

private:
    struct Stale;

    const mtt::FileSetOptions& _options;
    Report _report;
    std::vector<std::unique_ptr<Stale>> _stale;
};

#endif
