#ifndef MTTIEXPRESSION_H
#define MTTIEXPRESSION_H

#include "MTTExport.h"
#include "MTTNode.h"
#include "MTTString.h"

class MTTEvaluationEnvironment;
class MTLIModelObject;

// Something that produces a value. The default bodies report on standard
// error that the expression cannot give what is asked and return a neutral
// value (null, false, an empty text).
class MTT_EXPORT MTTIExpression : public MTTNode {
public:
    MTTIExpression();
    MTTIExpression(const MTTIExpression& iOther);
    MTTIExpression& operator=(const MTTIExpression& iOther);
    ~MTTIExpression() override;

    // 0 variable, 1 property, 2 logical or comparison, 3 string.
    virtual int GetExpType() = 0;
    virtual MTLIModelObject* EvaluateModelObject(MTTEvaluationEnvironment* iEnvironment);
    virtual bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment);
    virtual MTTString EvaluateString(MTTEvaluationEnvironment* iEnvironment);
    // The source text that computes this expression in the generated code.
    virtual MTTString LateEvaluate(MTTEvaluationEnvironment* iEnvironment);
    virtual MTTString GetPath();
};

#endif
