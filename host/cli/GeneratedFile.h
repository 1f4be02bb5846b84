#ifndef GENERATEDFILE_H
#define GENERATEDFILE_H

#include <memory>
#include <string>
#include <vector>

#include "CommentSyntax.h"
#include "ExitStatus.h"
#include "GeneratedText.h"
#include "OutputFile.h"
#include "UserCodeSections.h"

class MTTEvaluationOutput;
class SourceMap;
class UserCodeKeys;

// One file that a run writes (or the standard output), from the file as it
// is before evaluation to the new text in place: its user code is read
// strictly, kept by key, checked to read back, and nothing a person wrote
// is dropped (orphans are refused, or saved with --force).
class GeneratedFile {
public:
    // iPath empty: the standard output.
    // iCreateFolders: make missing folders on the way to the file.
    GeneratedFile(std::string iPath, const CommentSyntax& iSyntax, bool iKeepUserCode, bool iCreateFolders,
                  const SourceMap& iMap);
    ~GeneratedFile();

    const std::string& Path() const { return _path; }
    // The text of the existing file's section keyed iKey, if there is one.
    bool KeptText(const std::string& iKey, std::string& oText) const;
    // Reads the file as it is now and its user-code sections.
    ExitStatus Open();
    // Decides the text from the evaluation's output; iForce lets orphans go
    // to PATH.orphans. Messages go to standard error.
    ExitStatus Build(std::unique_ptr<MTTEvaluationOutput> iOutput, const UserCodeKeys& iKeys, bool iForce);
    // The same from a text written without a tree (a template without
    // usercode directives).
    ExitStatus Build(std::string iText, bool iForce);
    // Whether a line of iText reads as a user-code marker: then only the
    // tree can tell which directive wrote it.
    bool HoldsMarkers(const std::string& iText) const;
    const GeneratedText& Text() const { return *_text; }
    MTTEvaluationOutput* Output() const { return _output.get(); }
    // Saves orphans and writes the new text beside the file.
    ExitStatus Prepare();
    // Puts it in place; oWritten is false for an unchanged file.
    ExitStatus Commit(bool& oWritten);

private:
    // Keeps the existing file's user code in the sections of _text.
    ExitStatus Settle(bool iForce);
    ExitStatus CheckReadBack() const;

    std::string _path;
    CommentSyntax _syntax;
    bool _keepUserCode;
    bool _createFolders;
    const SourceMap& _map;
    std::unique_ptr<OutputFile> _file;
    UserCodeSections _existing;
    std::unique_ptr<MTTEvaluationOutput> _output;
    std::unique_ptr<GeneratedText> _text;
    std::vector<UserCodeSections::Section> _orphans;
};

#endif
