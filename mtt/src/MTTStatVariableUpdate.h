#ifndef MTTSTATVARIABLEUPDATE_H
#define MTTSTATVARIABLEUPDATE_H

#include "MTTIStatement.h"

class MTTIExpression;
class MTTVariableTarget;

// What assignment, append and or-equals share: the variable's name, the
// owned value expression as the only child, and the checks every
// evaluation starts with.
class MTTStatVariableUpdate : public MTTIStatement {
public:
    MTTStatVariableUpdate(const MTTString& iName, MTTIExpression* iValue);
    ~MTTStatVariableUpdate() override;

    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }
    MTTIExpression* GetValue() const { return _value; }

protected:
    // Reports a missing value ("NULL != _value", then "NULL != iEnvironment");
    // false when either is missing.
    bool CheckEvaluation(MTTEvaluationEnvironment* iEnvironment) const;
    // The operand's text for a statement that extends the variable ("+=",
    // "|=") at iTarget. Through a read-only alias the variable is read as
    // for any extension, then the refused write is reported.
    MTTString ExtensionOperand(MTTEvaluationEnvironment* iEnvironment, const MTTVariableTarget& iTarget);

    MTTString _name;
    MTTIExpression* _value;

private:
    MTTStatVariableUpdate(const MTTStatVariableUpdate&) = delete;
    MTTStatVariableUpdate& operator=(const MTTStatVariableUpdate&) = delete;
};

#endif
