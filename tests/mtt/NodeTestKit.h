#ifndef NODETESTKIT_H
#define NODETESTKIT_H

// Builders and runners for the unit suites: nodes are built with their
// constructors (TreeBuilder.h builds through the factory), evaluated under
// StreamCapture, and the output tree is flattened to its text and freed.

#include <initializer_list>
#include <regex>
#include <string>

#include "ListOfMTTString.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTExpProperty.h"
#include "MTTExpString.h"
#include "MTTExpVariable.h"
#include "MTTIStatement.h"
#include "MTTResult.h"
#include "MTTStatList.h"
#include "MTTStatText.h"
#include "StreamCapture.h"
#include "TreeBuilder.h"

namespace kit {

inline MTTIExpression* Var(const char* iName) { return new MTTExpVariable(MTTString(iName)); }
inline MTTIExpression* Str(const char* iText, bool iQuoted = false) { return new MTTExpString(MTTString(iText), iQuoted); }
inline MTTIExpression* Prop(std::initializer_list<const char*> iPath, bool iRelative, const char* iName)
{
    ListOfMTTString path;
    for (const char* element : iPath) path.Append(MTTString(element));
    return new MTTExpProperty(path, iRelative, MTTString(iName));
}
inline MTTIStatement* Text(const char* iText) { return new MTTStatText(MTTString(iText)); }
inline MTTStatList* List(std::initializer_list<MTTIStatement*> iStatements)
{
    MTTStatList* list = new MTTStatList();
    for (MTTIStatement* statement : iStatements) list->Append(statement);
    return list;
}

// Assertion reports carry a file name and a line that move with the code:
// both become "F, N" so that the rest can be compared byte for byte.
inline std::string Norm(const std::string& iText)
{
    static const std::regex report("AssertionFailed in [^ ,/]+, [0-9]+ :");
    return std::regex_replace(iText, report, "AssertionFailed in F, N :");
}
inline std::string Assertion(const char* iCondition) { return std::string("AssertionFailed in F, N :") + iCondition; }

// What one evaluation did: whether it returned null, the text of its output,
// and both streams (stderr normalised).
struct Outcome {
    bool null = true;
    std::string text;
    std::string out;
    std::string err;
};

template <class Operation>
Outcome Capture(Operation iOperation)
{
    Outcome run;
    StreamCapture capture;
    MTTEvaluationOutput* output = iOperation();
    capture.Stop();
    run.out = capture.Out();
    run.err = Norm(capture.Err());
    run.null = output == nullptr;
    run.text = TextOf(output);
    delete output;
    return run;
}

inline Outcome Eval(MTTIStatement* iStatement, MTTEvaluationEnvironment* iEnvironment)
{
    return Capture([&] { return iStatement->Evaluate(iEnvironment); });
}
inline Outcome Late(MTTIStatement* iStatement, MTTEvaluationEnvironment* iEnvironment)
{
    return Capture([&] { return iStatement->LateEvaluate(iEnvironment); });
}

// The same for an expression operation that returns a value.
template <class Value>
struct Result {
    Value value;
    std::string out;
    std::string err;
};

template <class Operation>
auto Quietly(Operation iOperation) -> Result<decltype(iOperation())>
{
    StreamCapture capture;
    auto value = iOperation();
    capture.Stop();
    return {value, capture.Out(), Norm(capture.Err())};
}

// A statement that counts its evaluations, may set a variable on the way,
// and answers with a leaf of its text or, when told to fail, with null (it
// prints nothing itself).
class Probe : public MTTIStatement {
public:
    explicit Probe(const char* iText, bool iFail = false, const char* iSetVariable = nullptr)
        : _text(iText), _fail(iFail), _setVariable(iSetVariable) {}

    long Accept(MTTINodeVisitor*) override { return S_OK; }
    int GetChildCount() override { return 0; }
    MTTNode* GetChild(int) override { return nullptr; }
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override { return Answer(iEnvironment, evaluated); }
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override { return Answer(iEnvironment, lateEvaluated); }

    int evaluated = 0;
    int lateEvaluated = 0;

private:
    MTTEvaluationOutput* Answer(MTTEvaluationEnvironment* iEnvironment, int& ioCount)
    {
        ++ioCount;
        if (_setVariable != nullptr) iEnvironment->AddVariable(MTTString(_setVariable), MTTString(_text), MTTVarString);
        if (_fail) return nullptr;
        return new MTTEvaluationOutputLeaf(this, nullptr, MTTString(_text));
    }

    const char* _text;
    bool _fail;
    const char* _setVariable;
};

}  // namespace kit

#endif
