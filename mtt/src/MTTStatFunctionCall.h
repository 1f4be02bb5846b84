#ifndef MTTSTATFUNCTIONCALL_H
#define MTTSTATFUNCTIONCALL_H

#include "ListOfMTTIExpression.h"
#include "MTTIStatement.h"

// A call: finds the function by name (innermost scope first) and evaluates
// its body with the parameters bound to this call's argument expressions.
// It owns the argument expressions.
class MTTStatFunctionCall : public MTTIStatement {
public:
    MTTStatFunctionCall(const MTTString& iName, const ListOfMTTIExpression& iArguments);
    ~MTTStatFunctionCall() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }

private:
    MTTStatFunctionCall(const MTTStatFunctionCall&) = delete;
    MTTStatFunctionCall& operator=(const MTTStatFunctionCall&) = delete;

    MTTString _name;
    ListOfMTTIExpression _arguments;
};

#endif
