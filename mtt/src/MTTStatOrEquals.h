#ifndef MTTSTATOREQUALS_H
#define MTTSTATOREQUALS_H

#include "MTTIStatement.h"

class MTTIExpression;

// "|=" on an integer flag variable: immediately the value grows by "|" and
// the operand's text; late it emits "name|=operand;".
class MTTStatOrEquals : public MTTIStatement {
public:
    MTTStatOrEquals(const MTTString& iName, MTTIExpression* iValue);
    ~MTTStatOrEquals() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }
    MTTIExpression* GetValue() const { return _value; }

private:
    MTTStatOrEquals(const MTTStatOrEquals&) = delete;
    MTTStatOrEquals& operator=(const MTTStatOrEquals&) = delete;

    MTTString _name;
    MTTIExpression* _value;
};

#endif
