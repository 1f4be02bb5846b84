#ifndef MTTEXPVARIABLE_H
#define MTTEXPVARIABLE_H

#include "MTTIExpression.h"

// Reads a template variable, through an alias when one is bound to the
// name. False when unset or "", "false" or "0"; late, it is its own name.
class MTTExpVariable : public MTTIExpression {
public:
    explicit MTTExpVariable(const MTTString& iName);
    ~MTTExpVariable() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    int GetExpType() override;
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
    MTTString EvaluateString(MTTEvaluationEnvironment* iEnvironment) override;
    MTTString LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }
    // The value as EvaluateString gives it, without a copy where it can:
    // the table's own string, or ioSpare holding an alias's text (or
    // nothing, for an unknown name).
    const MTTString* Lend(MTTEvaluationEnvironment* iEnvironment, MTTString& ioSpare);

private:
    MTTString _name;
};

#endif
