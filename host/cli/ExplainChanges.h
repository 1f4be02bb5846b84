#ifndef EXPLAINCHANGES_H
#define EXPLAINCHANGES_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "OutputAncestry.h"

class ModelNodeTable;
class PreviousRun;

// What changed in the generated files since an earlier run, line by line,
// and, where it can be told, why: a template line that changed under a
// directive that wrote the line, a model value the line read that is not
// what it was, an element that is new or gone, a -D variable. Written for
// the explain page as
//   {"since": FILE, "outputs": [{output, created, lines, removed}],
//    "gone": [NAME...], "causes": [{text, directive, node}]}
// where "outputs" lists the files that changed, "lines" holds [FIRST,
// COUNT, CAUSE] per run of changed lines with one cause (each line's is
// found on its own) and "removed" [LINE, COUNT, CAUSE] per run of lines
// gone before LINE (lines counted from 0, CAUSE an index into "causes").
class ExplainChanges {
public:
    // A template file of the run: its name and text.
    struct File {
        std::string name;
        const std::string* text;
    };
    // A piece of a generated file, as the page knows it.
    struct Piece {
        uint32_t end;  // bytes
        int32_t context;
        int32_t object;  // a node of the current model (-1: none, or outside it)
        int32_t value;
        bool userCode;  // a user-code section's text
    };

    ExplainChanges(const PreviousRun& iPrevious, const ModelNodeTable* iModel, const OutputAncestry& iAncestry,
                   const std::map<std::string, std::string>& iVariables);
    ~ExplainChanges();

    // Compares generated file iOutput (the page's number) with the
    // earlier run's file of that name. iFiles: the run's template files.
    void Compare(size_t iOutput, const std::string& iName, std::string_view iText, const std::vector<Piece>& iPieces,
                 const std::vector<File>& iFiles);
    std::string Json() const;

private:
    struct Run {
        size_t first;
        size_t count;
        size_t cause;
    };
    struct Compared {
        size_t output;
        bool created;
        std::vector<Run> lines;
        std::vector<Run> removed;
    };

    // The lines of each template file that changed, found once.
    void CompareTemplates(const std::vector<File>& iFiles);
    size_t Cause(const std::string& iText, int32_t iDirective = -1, int32_t iNode = -1);
    // Why new lines [iFirst, iEnd) of a text differ, from their pieces.
    size_t NewCause(std::string_view iText, const std::vector<size_t>& iStarts, size_t iFirst, size_t iEnd,
                    const std::vector<Piece>& iPieces, const std::vector<File>& iFiles);
    // Why earlier lines went, from the elements they were made for.
    size_t GoneCause(const std::vector<std::vector<int32_t>>& iLineNodes, size_t iFirst, size_t iEnd);
    size_t Unexplained();

    const PreviousRun& _previous;
    const ModelNodeTable* _model;
    const OutputAncestry& _ancestry;
    const std::map<std::string, std::string>& _variables;
    bool _templatesCompared = false;
    std::vector<std::set<size_t>> _changedTemplateLines;  // per file of the run
    std::vector<std::vector<size_t>> _templateStarts;     // per file: where its lines start
    std::vector<Compared> _outputs;
    std::set<std::string> _names;
    std::vector<std::string> _causes;  // JSON objects
    std::unordered_map<std::string, size_t> _causeIndex;
    size_t _explained = 0;  // lines given a cause of their own
};

#endif
