#ifndef OUTPUTFILE_H
#define OUTPUTFILE_H

#include <string>

#include "TemporaryFileGuard.h"

// Writes one generated file so that nothing a person wrote is lost:
//  - a symbolic link is followed to the file really written (a dangling
//    link's target is created; a loop is an error);
//  - the current text is read before evaluation (ReadCurrent), and read
//    again right before the new text replaces it: a file changed meanwhile
//    is refused (kChanged), never overwritten;
//  - the new text goes to a temporary file beside the target, which is
//    renamed over it in one step; mode and (as root) owner are kept; an
//    interruption leaves no temporary file behind;
//  - a text equal to the file's bytes leaves the file untouched.
// Devices and pipes (/dev/null) are written in place.
class OutputFile {
public:
    enum class Result { kWritten, kUnchanged, kChanged, kFailed };

    explicit OutputFile(std::string iPath);

    // Missing folders on the way to the file are made when it is written.
    void CreateFolders() { _createFolders = true; }

    // Follows links and reads the current text of a regular file. False
    // with oError (a complete message without line end) on failure.
    bool ReadCurrent(std::string& oError);
    bool Exists() const { return _exists; }
    bool IsRegular() const { return _regular; }
    // The text read by ReadCurrent (empty when there is none).
    const std::string& Current() const { return _current; }
    const std::string& Target() const { return _target; }

    // Writes iText to the temporary file (nothing when it equals Current()).
    bool Prepare(const std::string& iText, std::string& oError);
    // Puts the prepared text in place.
    Result Commit(std::string& oError);

private:
    bool StillAsRead() const;

    std::string _path;
    std::string _target;
    bool _exists;
    bool _regular;
    unsigned _mode;
    unsigned _owner;
    unsigned _group;
    std::string _current;
    std::string _text;
    bool _unchanged;
    bool _createFolders;
    TemporaryFileGuard _temporary;
};

#endif
