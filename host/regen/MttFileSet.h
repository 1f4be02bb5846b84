#ifndef MTTFILESET_H
#define MTTFILESET_H

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "MttRenderResult.h"

class GeneratedFile;

namespace mtt {

class Model;
class Template;

// One message about the files of a run.
struct FileMessage {
    enum class Kind { kError, kWarning, kNote, kInfo };

    FileMessage() = default;
    FileMessage(Kind iKind, std::string iFile, int iLine, std::string iText)
        : kind(iKind), file(std::move(iFile)), line(iLine), text(std::move(iText))
    {
    }

    Kind kind = Kind::kError;
    std::string file;  // empty: about the run as a whole
    int line = 0;      // 0: the whole file
    int column = 0;
    std::string text;

    // "FILE:LINE:COLUMN: error: TEXT" (as much of the place as is known),
    // "PROGRAM: error: TEXT" about no file, "PROGRAM: TEXT" for kInfo.
    std::string ToString(const std::string& iProgram) const;
};

enum class FileSetStatus {
    kOk = 0,
    kWriteFailed = 1,  // a file could not be written; nothing was
    kBadInput = 2,     // a name or a file the run cannot use
    kRefused = 3,      // what a person wrote could not be kept safely; nothing written
};

struct FileSetOptions {
    // The comment syntax of the marker lines ("//", "#", "--", "<!--",
    // "/*"); empty: chosen from each file's name.
    std::string commentSyntax;
    // The members that identify a user-code section's owner, first found wins.
    std::string keyMembers = "id,name";
    // Write even when user code would have no place, a file was edited
    // outside its sections, or it was not written by mttgen: what would be
    // lost is kept beside it first (FILE.orphans, FILE.edited).
    bool force = false;
    // Remove files an earlier run of the same name (run) wrote whose model
    // element has gone, when they hold no user code.
    bool prune = false;
    // Every file added must stay inside this folder (empty: the current
    // one); its .mttgen-manifest records what the run wrote.
    std::string root;
    // Keep the output of a render that reported errors (otherwise a file
    // whose render failed is not written, and Commit refuses).
    bool keepGoing = false;
    // Make missing folders on the way to a file.
    bool createFolders = true;
    // The files the run reads, as (role, path): "template", "model"... No
    // file added may be one of them.
    std::vector<std::pair<std::string, std::string>> inputs;
    // Called with each message as it arises; without it they are kept
    // for Messages().
    std::function<void(const FileMessage&)> onMessage;
};

// The files one run generates, written all together or not at all, with
// the hand-written code of the files they replace kept in their user-code
// sections:
//
//   mtt::FileSet files(options);
//   files.Add("gen/order.h");                 // reads the file as it is now
//   mtt::RenderResult rendered;
//   files.Render(0, *page, &*model, mtt::RenderOptions(), rendered);
//   if (files.Commit() != mtt::FileSetStatus::kOk) ...   // messages say why
//
// A user-code section's text is looked up only in the file it is written
// to, by its owner's key (UserCodeKeys); sections a person wrote are never
// dropped, moved to another owner or copied. See docs/host-guide.md.
class FileSet {
public:
    explicit FileSet(FileSetOptions iOptions = FileSetOptions());
    ~FileSet();
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    // Adds a generated file ("-" or "": the standard output) and reads it
    // as it is now. The first Add puts back the files of a run that was
    // killed while it committed (its journal in the root). iNamedByUser: the user gave this name (a link there is
    // written through); otherwise it was made from the model, and must
    // not be a link nor lead outside the root.
    // iRun names what wrote the file in the manifest (mttgen: its -o name,
    // relative to the root): the files an earlier run of that name wrote
    // and this one does not are reported as files whose element has gone.
    // Empty: the file is recorded under its own name.
    FileSetStatus Add(const std::string& iPath, bool iNamedByUser = true, const std::string& iRun = std::string());
    // Names a run that may write no file this time (an --each over a list
    // that is now empty): the files an earlier run of that name wrote are
    // still checked, as for Add's iRun.
    FileSetStatus AddRun(const std::string& iRun);
    // Adds a file written as it is, without user code or record (a trace,
    // an explain page); its text may be set later (SetPlainText).
    // iWrittenBefore tells a text that iRole's writer made (a page from an
    // earlier run): a file that holds anything else is someone's, and is
    // refused unless options.force, which keeps it as PATH.edited. Null:
    // any file at iPath is replaced. With iOpeningBytes, iWrittenBefore is
    // shown no more than the file's first iOpeningBytes (a page is told by
    // its opening), and a file of the role's is not held whole.
    using TextTest = std::function<bool(const std::string&)>;
    FileSetStatus AddPlain(const std::string& iPath, const std::string& iRole, const TextTest& iWrittenBefore = nullptr,
                           size_t iOpeningBytes = 0);
    void SetPlainText(size_t iFile, std::string iText);

    // Renders the template for file iFile (an immediate render with a
    // model, a late one with null) and settles its user code. oResult is
    // the render's, less what the file takes (the text, the output tree,
    // the user-code pieces); a render that gave no output leaves the file
    // without text, and Commit refuses to run.
    FileSetStatus Render(size_t iFile, const Template& iTemplate, Model* iModel, const RenderOptions& iOptions,
                         RenderResult& oResult);

    // Checks the files of earlier runs (the manifest), prepares every file
    // and puts them all in place, or none.
    FileSetStatus Commit();

    // What Commit would change, changing nothing: the generated files that
    // would be created or rewritten, and the files of gone elements that
    // would be removed.
    struct Change {
        enum class Kind { kCreated, kChanged, kRemoved };
        Kind kind;
        std::string path;
        std::string before;  // the file's text now
        std::string after;   // what it would hold
    };
    FileSetStatus Check(std::vector<Change>& oChanges);

    size_t Size() const;
    // How many generated files Commit changed (new or rewritten).
    size_t Written() const;
    const GeneratedFile& File(size_t iFile) const;
    // Lets go of the large files' pieces once the trace and the page that
    // read them are made (GeneratedText::ForgetPieces).
    void ForgetPieces();
    // The messages so far (when no onMessage is set).
    const std::vector<FileMessage>& Messages() const;

private:
    struct State;
    std::unique_ptr<State> _state;
};

}  // namespace mtt

#endif
