#ifndef COMMITPHASE_H
#define COMMITPHASE_H

#include <cstddef>
#include <string>
#include <vector>

class OutputFile;

// Puts every prepared file of a run in place, or none: files are swapped
// in one by one under a journal (CommitJournal) with the interrupting
// signals held; when one cannot be put in place, or an editor wrote into a
// file while it was being replaced, the files already swapped are put
// back. Devices and pipes cannot be taken back, so they are written last.
class CommitPhase {
public:
    struct Outcome {
        enum class Kind { kDone, kChanged, kFailed } kind = Kind::kDone;
        std::string error;   // a whole message, for kChanged and kFailed
        size_t written = 0;  // files changed (kDone)
        std::vector<const OutputFile*> changed;
    };

    // iFiles: prepared, in commit order. iRoot: where the journal goes.
    static Outcome Run(const std::string& iRoot, const std::vector<OutputFile*>& iFiles);
};

#endif
