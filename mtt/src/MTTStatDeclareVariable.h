#ifndef MTTSTATDECLAREVARIABLE_H
#define MTTSTATDECLAREVARIABLE_H

#include "MTTExpVariableType.h"
#include "MTTIStatement.h"
#include "MTTStatementRun.h"

// Declares a variable: "0" for an integer, empty for a string. Late, it
// also emits the declaration ("int name = 0;" or "KORUnicodeString name;").
class MTTStatDeclareVariable final : public MTTIStatement {
public:
    MTTStatDeclareVariable(const MTTString& iName, MTTExpVariableType iType);
    ~MTTStatDeclareVariable() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTT_EVALUATED_BY_RUN;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }
    MTTExpVariableType GetType() const { return _type; }

private:
    MTTString _name;
    MTTExpVariableType _type;
};

#endif
