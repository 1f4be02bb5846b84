#ifndef MTTSTATAPPEND_H
#define MTTSTATAPPEND_H

#include "MTTIStatement.h"

class MTTIExpression;

// Appends the text of an expression to a variable (creating a string
// variable when the name is unknown). The same in both modes.
class MTTStatAppend : public MTTIStatement {
public:
    MTTStatAppend(const MTTString& iName, MTTIExpression* iValue);
    ~MTTStatAppend() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }
    MTTIExpression* GetValue() const { return _value; }

private:
    MTTStatAppend(const MTTStatAppend&) = delete;
    MTTStatAppend& operator=(const MTTStatAppend&) = delete;

    MTTString _name;
    MTTIExpression* _value;
};

#endif
