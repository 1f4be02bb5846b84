#ifndef ATOMICFILEWRITER_H
#define ATOMICFILEWRITER_H

#include <string>

// Replaces a file's content in one step: the text goes to a temporary file
// in the target's folder, which is then renamed over the target. Readers
// see the old file or the new one, never a half-written one, and a failure
// leaves the old file as it was and no temporary file behind.
class AtomicFileWriter {
public:
    // An existing target keeps its permission bits; a new one gets the
    // usual 0666 less the umask. A symbolic link is followed, so the link
    // stays and its target is replaced. A device or pipe is simply written
    // to. False with oError on failure.
    static bool Write(const std::string& iPath, const std::string& iText, std::string& oError);
};

#endif
