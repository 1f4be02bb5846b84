#ifndef MTTSTATFUNCTIONCALL_H
#define MTTSTATFUNCTIONCALL_H

#include "ListOfMTTIExpression.h"
#include "MTTIStatement.h"
#include "MTTStatementRun.h"

// A call: finds the function by name (innermost scope first) and evaluates
// its body with the parameters bound to this call's argument expressions.
// It owns the argument expressions.
class MTTStatFunctionCall final : public MTTIStatement {
public:
    MTTStatFunctionCall(const MTTString& iName, const ListOfMTTIExpression& iArguments);
    ~MTTStatFunctionCall() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText); false where Evaluate fails.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTHeardTextWriter& ioWriter);

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }

private:
    MTTStatFunctionCall(const MTTStatFunctionCall&) = delete;
    MTTStatFunctionCall& operator=(const MTTStatFunctionCall&) = delete;
    // Both modes, and the text, find the function the same way and report
    // a failed call with the same words.
    template <class Call>
    auto Run(MTTEvaluationEnvironment* iEnvironment, Call iCall) -> decltype(iCall(nullptr));

    MTTString _name;
    ListOfMTTIExpression _arguments;
};

#endif
