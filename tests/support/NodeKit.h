#ifndef NODEKIT_H
#define NODEKIT_H

// The one kit of the suites: syntax trees built through the public factory,
// the way a parser builds them, with short names; evaluations run with both
// streams captured. Header only, so that it links against either form of
// the library. String literals are quoted unless told otherwise, as a
// parser makes them. A property path is given as text: "a/b" is relative,
// "/a/b" starts at the root; "" and "/" are the two empty paths.

#include <initializer_list>
#include <memory>
#include <regex>
#include <string>

#include "ListOfMTTIExpression.h"
#include "ListOfMTTString.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTIExpression.h"
#include "MTTIStatement.h"
#include "MTTNodeFactory.h"
#include "MTTResult.h"
#include "MTTString.h"
#include "StreamCapture.h"

namespace kit {

// One factory per thread: the threads suite builds trees concurrently.
inline MTTNodeFactory& Factory()
{
    thread_local MTTNodeFactory factory;
    return factory;
}

inline MTTIStatement* Text(const char* iText)
{
    MTTString s(iText);
    return Factory().makeStatText(&s);
}
inline MTTIStatement* Special(const char* iId)
{
    MTTString s(iId);
    return Factory().makeStatSpecialText(&s);
}
inline MTTIStatement* Expr(MTTIExpression* iExp)
{
    return Factory().makeStatExpression(iExp);
}
inline MTTIStatement* Usercode(MTTIExpression* iExp)
{
    return Factory().makeStatUsercode(iExp);
}
inline MTTIStatement* If(MTTIExpression* iCond, MTTIStatement* iThen, MTTIStatement* iElse)
{
    return Factory().makeStatIf(iCond, iThen, iElse);
}
inline MTTIStatement* Foreach(MTTIExpression* iList, MTTIStatement* iBody)
{
    return Factory().makeStatForeach(iList, iBody);
}
inline MTTIStatement* Declare(const char* iName, int iType)
{
    MTTString s(iName);
    return Factory().makeStatDeclare(&s, iType);
}
inline MTTIStatement* Assign(const char* iName, MTTIExpression* iValue)
{
    MTTString s(iName);
    return Factory().makeStatAssign(&s, iValue);
}
inline MTTIStatement* AppendTo(const char* iName, MTTIExpression* iValue)
{
    MTTString s(iName);
    return Factory().makeStatAppend(&s, iValue);
}
inline MTTIStatement* OrEquals(const char* iName, MTTIExpression* iValue)
{
    MTTString s(iName);
    return Factory().makeStatOrEquals(&s, iValue);
}
inline MTTIStatement* List(std::initializer_list<MTTIStatement*> iStatements)
{
    MTTIStatement* list = Factory().makeStatList();
    for (MTTIStatement* s : iStatements) list = list->Append(s);
    return list;
}
inline MTTIStatement* Call(const char* iName, std::initializer_list<MTTIExpression*> iArguments = {})
{
    ListOfMTTIExpression args;
    for (MTTIExpression* a : iArguments) args.Append(a);
    MTTString s(iName);
    return Factory().makeStatFunctionCall(&s, args);
}
inline MTTIStatement* Function(const char* iName, std::initializer_list<const char*> iParameters, MTTIStatement* iBody)
{
    ListOfMTTString params;
    for (const char* p : iParameters) params.Append(MTTString(p));
    MTTString s(iName);
    return Factory().makeStatFunctionDecl(&s, params, iBody);
}

inline MTTIExpression* Var(const char* iName)
{
    MTTString s(iName);
    return Factory().makeExpVariable(&s);
}
inline MTTIExpression* Str(const char* iText, bool iQuoted = true)
{
    MTTString s(iText);
    return Factory().makeExpString(&s, iQuoted);
}
inline MTTIExpression* Prop(const char* iName, const std::string& iPath)
{
    bool relative = iPath.empty() || iPath[0] != '/';
    ListOfMTTString path;
    std::string rest = relative ? iPath : iPath.substr(1);
    while (!rest.empty()) {
        size_t slash = rest.find('/');
        path.Append(MTTString(rest.substr(0, slash).c_str()));
        rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
    }
    MTTString name(iName);
    return Factory().makeExpProperty(path, relative, name);
}
inline MTTIExpression* Eq(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Factory().makeExpEquals(iLhs, iRhs);
}
inline MTTIExpression* Ne(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Factory().makeExpNotEquals(iLhs, iRhs);
}
inline MTTIExpression* And(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Factory().makeExpAnd(iLhs, iRhs);
}
inline MTTIExpression* Or(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Factory().makeExpOr(iLhs, iRhs);
}
inline MTTIExpression* Not(MTTIExpression* iArg)
{
    return Factory().makeExpNot(iArg);
}
inline MTTIExpression* Defined(MTTIExpression* iArg)
{
    return Factory().makeExpDefined(iArg);
}

inline std::string S(const MTTString& iText)
{
    return iText.ConvertToChar();
}

// A variable's value, or "<none>" when the environment gives none.
inline std::string ValueOf(const MTTEvaluationEnvironment& iEnvironment, const char* iName)
{
    std::unique_ptr<MTTString> value(iEnvironment.GetVariable(MTTString(iName)));
    return value ? S(*value) : "<none>";
}

// The text of an output tree; empty for null.
inline std::string TextOf(const MTTEvaluationOutput* iOutput)
{
    MTTString text;
    if (iOutput != nullptr) iOutput->toString(text);
    return text.ConvertToChar();
}

// Assertion reports name a source file and a line that move with the code:
// both become "F, N" so that the rest (the condition) compares byte for byte.
inline std::string Norm(const std::string& iText)
{
    static const std::regex report("AssertionFailed in [^ ,/]+, [0-9]+ :");
    return std::regex_replace(iText, report, "AssertionFailed in F, N :");
}
inline std::string Assertion(const char* iCondition)
{
    return std::string("AssertionFailed in F, N :") + iCondition;
}

// What one evaluation did: its output, the output's text (empty for null),
// and both streams (stderr normalised).
struct Outcome {
    std::shared_ptr<MTTEvaluationOutput> output;
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
    run.output.reset(iOperation());
    capture.Stop();
    run.out = capture.Out();
    run.err = Norm(capture.Err());
    run.null = run.output == nullptr;
    run.text = TextOf(run.output.get());
    return run;
}

inline Outcome Eval(MTTIStatement* iStatement, MTTEvaluationEnvironment* iEnvironment, bool iLate = false)
{
    return Capture([&] { return iLate ? iStatement->LateEvaluate(iEnvironment) : iStatement->Evaluate(iEnvironment); });
}
inline Outcome Late(MTTIStatement* iStatement, MTTEvaluationEnvironment* iEnvironment)
{
    return Eval(iStatement, iEnvironment, true);
}

// The same for an operation that returns a value.
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

// A statement of a host's own kind that counts its evaluations, may set a
// variable on the way, and answers with a leaf of its text or, when told to
// fail, with null (it prints nothing itself).
class Probe : public MTTIStatement {
public:
    explicit Probe(const char* iText, bool iFail = false, const char* iSetVariable = nullptr)
        : _text(iText), _fail(iFail), _setVariable(iSetVariable)
    {
    }

    long Accept(MTTINodeVisitor*) override { return S_OK; }
    int GetChildCount() override { return 0; }
    MTTNode* GetChild(int) override { return nullptr; }
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override
    {
        return Answer(iEnvironment, evaluated);
    }
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override
    {
        return Answer(iEnvironment, lateEvaluated);
    }

    int evaluated = 0;
    int lateEvaluated = 0;

private:
    MTTEvaluationOutput* Answer(MTTEvaluationEnvironment* iEnvironment, int& ioCount)
    {
        ++ioCount;
        if (_setVariable != nullptr && iEnvironment != nullptr) {
            iEnvironment->AddVariable(MTTString(_setVariable), MTTString(_text), MTTVarString);
        }
        if (_fail) return nullptr;
        return new MTTEvaluationOutputLeaf(this, nullptr, MTTString(_text));
    }

    const char* _text;
    bool _fail;
    const char* _setVariable;
};

}  // namespace kit

#endif
