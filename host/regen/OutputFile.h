#ifndef OUTPUTFILE_H
#define OUTPUTFILE_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "TemporaryFileGuard.h"

// Writes (or removes) one file of a run so that nothing a person wrote is
// lost:
//  - a symbolic link the user named is followed to the file really written
//    (a dangling link's target is created; a loop is an error); one in a
//    name the run made is refused;
//  - the current text is read first (ReadCurrent), and checked again
//    before the commit (StillAsRead), right before the swap, right after
//    it (the text swapped out) and once every file is in (SavedIntact): a
//    file changed meanwhile is refused, never overwritten;
//  - the new text goes to a temporary file beside the target (Prepare);
//    Commit swaps the two in one step, so that the text replaced stays
//    beside it (SavedPath) until the whole run is in place: Rollback puts
//    it back, Discard drops it. Only then is the swapped-out text compared
//    with what was read, which closes the window in which an editor's save
//    could be lost;
//  - mode and (as root) owner are kept; an interruption before the commit
//    leaves no temporary file behind;
//  - a text equal to the file's bytes leaves the file untouched; such a
//    file is checked once before the commit, by its status (StillAsRead).
// Devices and pipes (/dev/null, /dev/stderr) are written in place, last.
class OutputFile {
public:
    enum class Result { kWritten, kUnchanged, kChanged, kFailed };

    // iFollowLink: the user named this path.
    OutputFile(std::string iPath, bool iFollowLink);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Missing folders on the way to the file are made when it is prepared.
    void CreateFolders() { _createFolders = true; }

    // Follows a named link and reads the current text of a regular file.
    // False with oError (a complete message without line end) on failure.
    // With iHeadBytes, a larger file is read for its first iHeadBytes only,
    // as Current(), and is known afterwards as ForgetCurrent leaves it.
    bool ReadCurrent(std::string& oError, size_t iHeadBytes = 0);
    const std::string& Path() const { return _path; }
    bool Exists() const { return _exists; }
    bool IsRegular() const { return _regular; }
    // The text read by ReadCurrent (empty when there is none, or forgotten;
    // its head alone when only that was read).
    const std::string& Current() const { return _current; }
    // Keeps only the text's size and fingerprint (Digest::OfFile), which
    // tell as well whether the file is as read: a plain file checked
    // already (an explain page, a trace) is not held for the whole run.
    void ForgetCurrent();
    const std::string& Target() const { return _target; }

    // Writes iText to the temporary file (nothing when it equals Current()).
    // A text the caller holds is not copied (a render's output can be
    // megabytes): it must stay as it is until the run is committed or
    // rolled back. A temporary one is kept here.
    bool Prepare(std::string_view iText, std::string& oError);
    bool Prepare(std::string&& iText, std::string& oError);
    // Prepares the file's removal instead.
    bool PrepareRemoval(std::string& oError);
    std::string_view Text() const { return _text; }
    bool Unchanged() const { return _unchanged; }
    bool Removes() const { return _remove; }
    // The temporary file before Commit, the replaced text after it.
    const std::string& SavedPath() const { return _temporary; }
    // Whether the file is as ReadCurrent found it. One whose text is not
    // to change (Unchanged) is judged by its status alone: nothing is
    // written over it, so a change its status would not show loses nothing.
    bool StillAsRead() const;

    // kUnchanged for a file left as it is, without a look at it: the
    // caller has checked it with StillAsRead before anything moved.
    Result Commit(std::string& oError);
    // Whether the replaced text is still the one read: an editor that had
    // the file open may have written into it while it was being replaced.
    bool SavedIntact() const;
    // Undoes a kWritten Commit. False with oError when it cannot.
    bool Rollback(std::string& oError);
    // Drops the replaced text after a kWritten Commit.
    void Discard();

    // A name beside iPath that nothing holds yet: iPath + iSuffix, else
    // with ".2", ".3"... after it.
    static std::string FreeName(const std::string& iPath, const std::string& iSuffix);

private:
    enum class Committed { kNothing, kCreated, kReplaced, kRemoved, kInPlace };

    bool MakeTemporary(std::string& oError);
    // Whether iText, or the file at iPath, is the text read.
    bool IsCurrent(std::string_view iText) const;
    bool HoldsCurrent(const std::string& iPath) const;

    std::string _path;
    bool _followLink;
    std::string _target;
    bool _exists = false;
    bool _regular = false;
    unsigned _mode = 0;
    unsigned _owner = 0;
    unsigned _group = 0;
    std::string _current;
    bool _forgotten = false;
    uint64_t _currentSize = 0;
    uint64_t _currentDigest = 0;
    // Device, inode, size and times of the file read: a file whose text is
    // not to change is as read while they stay.
    std::array<long long, 7> _readStatus{};
    std::string_view _text;
    std::string _ownText;
    bool _unchanged = false;
    bool _remove = false;
    bool _createFolders = false;
    std::string _temporary;
    TemporaryFileGuard _guard;
    Committed _committed = Committed::kNothing;
    unsigned long _createdInode = 0;
};

#endif
