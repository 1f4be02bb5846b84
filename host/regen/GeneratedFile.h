#ifndef GENERATEDFILE_H
#define GENERATEDFILE_H

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CommentSyntax.h"
#include "GeneratedText.h"
#include "HandEdits.h"
#include "Manifest.h"
#include "MttFileSet.h"
#include "OutputFile.h"
#include "UserCodeSections.h"

class MTTEvaluationOutput;
class SourceMap;
class UserCodeKeys;

// One file that a run writes (or the standard output), from the file as it
// is before evaluation to the new text ready to be put in place: its user
// code is read strictly and kept by key, what a person changed outside the
// sections is found through the manifest's record, the new text is checked
// to read back, and nothing a person wrote is dropped: orphans, edited
// files and files mttgen did not write are refused, or with --force kept
// beside the file (FILE.orphans, FILE.edited).
class GeneratedFile {
public:
    using Report = std::function<void(const mtt::FileMessage&)>;
    using Status = mtt::FileSetStatus;

    // iPath empty: the standard output. iRecord: what the manifest says the
    // last run wrote there (null: nothing).
    GeneratedFile(std::string iPath, const CommentSyntax& iSyntax, bool iFollowLink, bool iCreateFolders,
                  const Manifest::Entry* iRecord, Report iReport);
    ~GeneratedFile();

    const std::string& Path() const { return _path; }
    bool IsStandardOutput() const { return _path.empty(); }
    const CommentSyntax& Syntax() const { return _syntax; }

    // Reads the file as it is now, its sections, and its hand edits.
    Status Open(bool iForce);
    // Decides the text from the evaluation's output, which goes once its
    // text and shape are read. iNamer names the sections, iMap points at
    // the template.
    Status Build(std::unique_ptr<MTTEvaluationOutput> iOutput, const UserCodeKeys& iKeys,
                 const GeneratedText::SectionNamer& iNamer, const SourceMap& iMap, bool iForce);
    // The same from a text written without a tree and the tree's shape.
    Status Build(MTTString iText, mtt::OutputShape iShape, const UserCodeKeys& iKeys,
                 const GeneratedText::SectionNamer& iNamer, const SourceMap& iMap, bool iForce);
    // The same from a text written without a tree, with the pieces its
    // usercode directives wrote (MTTEvaluateText).
    Status Build(MTTString iText, std::vector<MTTTextPiece> iUserCode, const UserCodeKeys& iKeys,
                 const GeneratedText::SectionNamer& iNamer, const SourceMap& iMap, bool iForce);
    // The same from a text written without a tree (a template without
    // usercode directives); iRead, when given, is what HoldsMarkers read
    // of it, so that it is not read again.
    Status Build(MTTString iText, const SourceMap& iMap, bool iForce,
                 std::unique_ptr<UserCodeSections> iRead = nullptr);
    // Whether a line of iText reads as a user-code marker (or a damaged
    // one): then only the tree can tell which directive wrote it. oRead,
    // when given, gets what was read otherwise.
    static bool HoldsMarkers(std::string_view iText, std::unique_ptr<UserCodeSections>* oRead = nullptr);
    // Whether the marker words appear in iText outside the pieces that
    // usercode directives wrote: only the tree tells which directive wrote
    // them, should they make a marker line.
    static bool HoldsMarkers(std::string_view iText, const std::vector<MTTTextPiece>& iUserCode);

    bool HasText() const { return _text != nullptr; }
    const GeneratedText& Text() const { return *_text; }
    // See GeneratedText::ForgetPieces.
    void ForgetPieces()
    {
        if (_text) _text->ForgetPieces();
    }
    const OutputFile* Written() const { return _file.get(); }
    // The manifest's record of the text written.
    Manifest::Entry Record(const std::string& iRun) const;

    // Writes the new text, and what is kept beside it, to temporary files;
    // oFiles gets them in commit order.
    Status Prepare(std::vector<OutputFile*>& oFiles);
    // What to say once the run is in place (what was kept where).
    void ReportKept() const;

private:
    // Keeps the existing file's user code in the sections of _text.
    Status Settle(const SourceMap& iMap, bool iForce);
    Status CheckIdentities(const SourceMap& iMap) const;
    // Keeps the sections read back for Record (or notes that the file
    // holds the text already).
    Status CheckReadBack(const SourceMap& iMap);
    void Error(int iLine, const std::string& iText) const;
    void Note(const SourceMap& iMap, const MTTIStatement* iStatement, const std::string& iText) const;

    std::string _path;
    CommentSyntax _syntax;
    bool _followLink;
    bool _createFolders;
    bool _hasRecord;
    Manifest::Entry _record;
    Report _report;
    std::unique_ptr<OutputFile> _file;
    UserCodeSections _existing;
    std::vector<HandEdits::Edit> _edits;
    std::vector<uint32_t> _currentDigests;  // the file's skeleton as opened, where it has a record
    // The whole digest of the file as opened, where it was as recorded.
    std::optional<uint64_t> _currentWhole;
    std::unique_ptr<GeneratedText> _text;
    std::unique_ptr<UserCodeSections> _readBack;  // _text's sections, read back
    bool _asCurrent = false;                      // the file already holds _text (then _existing is read back)
    std::vector<UserCodeSections::Section> _orphans;
    std::string _orphanReason;
    bool _keepCopy = false;  // the current file goes to FILE.edited
    std::unique_ptr<OutputFile> _orphanFile;
    std::unique_ptr<OutputFile> _copyFile;
};

#endif
