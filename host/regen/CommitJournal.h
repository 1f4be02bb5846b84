#ifndef COMMITJOURNAL_H
#define COMMITJOURNAL_H

#include <string>
#include <vector>

class OutputFile;

// The record that makes a run's commit all or nothing even when the
// process dies in the middle (kill -9, a crash, a power cut): before the
// first file is put in place, ROOT/.mttgen-journal lists every file with
// where its replaced text will be kept and digests of the old and new
// texts; it is removed once every file is in place. A run that finds one
// puts the files it lists back as they were before going on.
class CommitJournal {
public:
    static const char* const kFileName;

    explicit CommitJournal(std::string iRoot);

    // Writes the journal for iFiles (prepared). False with oError.
    bool Begin(const std::vector<OutputFile*>& iFiles, std::string& oError);
    // Removes it: the commit is over, one way or the other.
    void End();

    // Undoes what an interrupted run left. oNotes gets a line per file put
    // back; false with oError when a file cannot be put back safely (it
    // changed since), naming where its texts are.
    bool Recover(std::vector<std::string>& oNotes, std::string& oError);

private:
    std::string _path;
    bool _begun = false;
};

#endif
