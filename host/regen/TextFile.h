#ifndef TEXTFILE_H
#define TEXTFILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Whole-file reads, with the system's reason on failure.
class TextFile {
public:
    // Reads iPath ("-" reads standard input). False with oError, e.g.
    // "cannot read 'x.mtt': No such file or directory".
    static bool Read(const std::string& iPath, std::string& oText, std::string& oError);
    // The same for a regular file whose status gave iSize bytes: read
    // without a status of its own, its end told by a read that finds less
    // than it asked for. A file grown or shrunk since is read as it is.
    static bool Read(const std::string& iPath, size_t iSize, std::string& oText, std::string& oError);
    // The first iHeadBytes of a regular file whose status gave iSize bytes,
    // and Digest::OfFile of the whole, read a piece at a time: a large file
    // of the run's own (an explain page) is told by its opening without
    // being held. False with oError when a read fails; oRead is how many
    // bytes there were (the digest is of iSize bytes only when they agree).
    static bool ReadHead(const std::string& iPath, size_t iSize, size_t iHeadBytes, std::string& oHead,
                         uint64_t& oDigest, size_t& oRead, std::string& oError);
    // True when iPath names a regular file, or a link to one.
    static bool IsRegularFile(const std::string& iPath);

    enum class Result { kRead, kMissing, kFailed };
    // Reads a file that the run keeps beside its outputs (a manifest, a
    // FILE.orphans) without following a symbolic link: a link there was
    // not made by the run, and writing through it could change any file.
    // oError is a whole message.
    static Result ReadNoFollow(const std::string& iPath, std::string& oText, std::string& oError);
    // True when iPath, its link not followed, is a regular file holding
    // exactly iText: read a piece at a time, so that checking a large
    // file does not hold it twice.
    static bool HoldsNoFollow(const std::string& iPath, std::string_view iText);
    // The same for a text known by its size and Digest::OfFile alone.
    static bool HoldsNoFollow(const std::string& iPath, uint64_t iSize, uint64_t iDigest);

    // Writes all of iText to iFd, again after an interrupted or short
    // write. False, errno telling why, when a write fails.
    static bool WriteAll(int iFd, std::string_view iText);
};

#endif
