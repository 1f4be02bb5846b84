#ifndef MANIFEST_H
#define MANIFEST_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Digest.h"

// What earlier runs generated in one folder (the output root), kept in
// ROOT/.mttgen-manifest: for every file, relative to the root, the run
// that wrote it (its -o name as given, so that an --each run can tell its
// own files whose element has gone) and one digest per line of what it
// wrote outside the user-code sections (HandEdits), so that the next run
// can name the lines a person changed, and the digest of the whole text,
// which tells at once that a file is as written. It is JSON, one file per line,
// sorted, so that it reads and merges well in version control.
class Manifest {
public:
    static const char* const kFileName;

    struct Entry {
        std::string run;
        std::vector<uint32_t> lines;
        // Digest::OfFile of the text written; not in manifests of earlier
        // versions.
        std::optional<uint64_t> whole;

        // Whether iText is the text written, byte for byte as far as a
        // 64-bit digest tells: then its lines are the recorded ones, and a
        // file of megabytes need not be digested line by line.
        bool Holds(std::string_view iText) const { return whole && *whole == Digest::OfFile(iText); }
    };

    // Reads ROOT's manifest; a missing one is empty. False with oError
    // (a whole message) when it cannot be read or is not a manifest.
    // iEarlier: this folder's manifest as read before in the same run;
    // where the file still holds that text (as far as a 64-bit digest
    // tells), its entries are taken rather than read again: a large file's
    // line digests run to megabytes.
    bool Load(const std::string& iRoot, std::string& oError, const Manifest* iEarlier = nullptr);
    bool Loaded() const { return _exists; }
    const std::string& Path() const { return _path; }

    const Entry* Find(const std::string& iRelative) const;
    void Set(const std::string& iRelative, Entry iEntry) { _entries[iRelative] = std::move(iEntry); }
    void Remove(const std::string& iRelative) { _entries.erase(iRelative); }
    const std::map<std::string, Entry>& Entries() const { return _entries; }

    std::string Text() const;

private:
    std::string _path;
    bool _exists = false;
    std::optional<uint64_t> _textDigest;  // Digest::OfFile of the text read, once read well
    std::map<std::string, Entry> _entries;
};

#endif
