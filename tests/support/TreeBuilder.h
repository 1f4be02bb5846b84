#ifndef TREEBUILDER_H
#define TREEBUILDER_H

#include <initializer_list>
#include <memory>
#include <string>

#include "ListOfMTTIExpression.h"
#include "ListOfMTTString.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIExpression.h"
#include "MTTIStatement.h"
#include "MTTNodeFactory.h"
#include "MTTString.h"
#include "StreamCapture.h"

// Builds syntax trees through the public factory, the way a parser does,
// with short names. A property path is given as text: "a/b" is relative,
// "/a/b" starts at the root; "" and "/" are the two empty paths.
// Header only, so that it links against either form of the library.
class TreeBuilder {
public:
    MTTIStatement* Text(const char* iText) { MTTString s(iText); return _f.makeStatText(&s); }
    MTTIStatement* Special(const char* iId) { MTTString s(iId); return _f.makeStatSpecialText(&s); }
    MTTIStatement* Expr(MTTIExpression* iExp) { return _f.makeStatExpression(iExp); }
    MTTIStatement* Usercode(MTTIExpression* iExp) { return _f.makeStatUsercode(iExp); }
    MTTIStatement* If(MTTIExpression* iCond, MTTIStatement* iThen, MTTIStatement* iElse)
    {
        return _f.makeStatIf(iCond, iThen, iElse);
    }
    MTTIStatement* Foreach(MTTIExpression* iList, MTTIStatement* iBody) { return _f.makeStatForeach(iList, iBody); }
    MTTIStatement* Declare(const char* iName, int iType) { MTTString s(iName); return _f.makeStatDeclare(&s, iType); }
    MTTIStatement* Assign(const char* iName, MTTIExpression* iValue) { MTTString s(iName); return _f.makeStatAssign(&s, iValue); }
    MTTIStatement* AppendTo(const char* iName, MTTIExpression* iValue) { MTTString s(iName); return _f.makeStatAppend(&s, iValue); }
    MTTIStatement* OrEquals(const char* iName, MTTIExpression* iValue) { MTTString s(iName); return _f.makeStatOrEquals(&s, iValue); }

    MTTIStatement* List(std::initializer_list<MTTIStatement*> iStatements)
    {
        MTTIStatement* list = _f.makeStatList();
        for (MTTIStatement* s : iStatements) list = list->Append(s);
        return list;
    }
    MTTIStatement* Call(const char* iName, std::initializer_list<MTTIExpression*> iArguments = {})
    {
        ListOfMTTIExpression args;
        for (MTTIExpression* a : iArguments) args.Append(a);
        MTTString s(iName);
        return _f.makeStatFunctionCall(&s, args);
    }
    MTTIStatement* Function(const char* iName, std::initializer_list<const char*> iParameters, MTTIStatement* iBody)
    {
        ListOfMTTString params;
        for (const char* p : iParameters) params.Append(MTTString(p));
        MTTString s(iName);
        return _f.makeStatFunctionDecl(&s, params, iBody);
    }

    MTTIExpression* Var(const char* iName) { MTTString s(iName); return _f.makeExpVariable(&s); }
    MTTIExpression* Str(const char* iText, bool iQuoted = true) { MTTString s(iText); return _f.makeExpString(&s, iQuoted); }
    MTTIExpression* Prop(const char* iName, const std::string& iPath)
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
        return _f.makeExpProperty(path, relative, name);
    }
    MTTIExpression* Eq(MTTIExpression* iLhs, MTTIExpression* iRhs) { return _f.makeExpEquals(iLhs, iRhs); }
    MTTIExpression* Ne(MTTIExpression* iLhs, MTTIExpression* iRhs) { return _f.makeExpNotEquals(iLhs, iRhs); }
    MTTIExpression* And(MTTIExpression* iLhs, MTTIExpression* iRhs) { return _f.makeExpAnd(iLhs, iRhs); }
    MTTIExpression* Not(MTTIExpression* iArg) { return _f.makeExpNot(iArg); }
    MTTIExpression* Defined(MTTIExpression* iArg) { return _f.makeExpDefined(iArg); }

    MTTNodeFactory& Factory() { return _f; }

private:
    MTTNodeFactory _f;
};

inline std::string S(const MTTString& iText) { return iText.ConvertToChar(); }

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

// One evaluation with both streams captured.
struct CapturedRun {
    std::unique_ptr<MTTEvaluationOutput> output;
    std::string text;  // the output's text, empty when it is null
    std::string out;   // standard output
    std::string err;   // standard error
};

inline CapturedRun RunCaptured(MTTIStatement* iStatement, MTTEvaluationEnvironment& ioEnvironment, bool iLate = false)
{
    CapturedRun run;
    StreamCapture capture;
    run.output.reset(iLate ? iStatement->LateEvaluate(&ioEnvironment) : iStatement->Evaluate(&ioEnvironment));
    run.out = capture.Out();
    run.err = capture.Err();
    run.text = TextOf(run.output.get());
    return run;
}

// Whether iErr is an assertion report from iFile on iCondition (the line
// number between them moves with the code).
inline bool IsReport(const std::string& iErr, const std::string& iFile, const std::string& iCondition)
{
    std::string prefix = "AssertionFailed in " + iFile + ", ", suffix = " :" + iCondition;
    return iErr.compare(0, prefix.size(), prefix) == 0 && iErr.size() > prefix.size() + suffix.size() &&
           iErr.compare(iErr.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The number of scopes on the environment's stack, found by popping down to
// the outermost one (which refuses with an assertion report): it leaves the
// environment with its root scope only.
inline int PopToRootScope(MTTEvaluationEnvironment& ioEnvironment)
{
    int depth = 1;
    for (; depth < 100000; ++depth) {
        StreamCapture capture;
        ioEnvironment.PopScope();
        if (capture.Err().find(":size > 1") != std::string::npos) break;
    }
    return depth;
}

#endif
