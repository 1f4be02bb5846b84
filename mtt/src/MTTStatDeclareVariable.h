#ifndef MTTSTATDECLAREVARIABLE_H
#define MTTSTATDECLAREVARIABLE_H

#include "MTTExpVariableType.h"
#include "MTTIStatement.h"

class MTTTextWriter;

// Declares a variable: "0" for an integer, empty for a string. Late, it
// also emits the declaration ("int name = 0;" or "KORUnicodeString name;").
class MTTStatDeclareVariable final : public MTTIStatement {
public:
    MTTStatDeclareVariable(const MTTString& iName, MTTExpVariableType iType);
    ~MTTStatDeclareVariable() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText), which is none.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }
    MTTExpVariableType GetType() const { return _type; }

private:
    template <class Out>
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut);

    MTTString _name;
    MTTExpVariableType _type;
};

#endif
