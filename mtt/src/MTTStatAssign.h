#ifndef MTTSTATASSIGN_H
#define MTTSTATASSIGN_H

#include "MTTIStatement.h"

class MTTIExpression;

// Sets a variable to the text of an expression (creating a string variable
// when the name is unknown). The same in both modes.
class MTTStatAssign : public MTTIStatement {
public:
    MTTStatAssign(const MTTString& iName, MTTIExpression* iValue);
    ~MTTStatAssign() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }
    MTTIExpression* GetValue() const { return _value; }

private:
    MTTStatAssign(const MTTStatAssign&) = delete;
    MTTStatAssign& operator=(const MTTStatAssign&) = delete;

    MTTString _name;
    MTTIExpression* _value;
};

#endif
