#ifndef MTTEVALUATIONOUTPUT_H
#define MTTEVALUATIONOUTPUT_H

#include "MTTEvaluationOutputType.h"
#include "MTTExport.h"
#include "MTTResult.h"
#include "MTTString.h"

class MTTIStatement;
class MTLIModelObject;
class MTTIEvaluationOutputVisitor;

// One piece of an evaluation's result: a node grouping outputs in order,
// or a leaf holding text. It remembers the statement that produced it and
// the model object that statement worked on; it owns neither.
class MTT_EXPORT MTTEvaluationOutput {
public:
    MTTEvaluationOutput(MTTIStatement* iStatement, MTLIModelObject* iModelObject);
    MTTEvaluationOutput(const MTTEvaluationOutput& iOther);
    MTTEvaluationOutput& operator=(const MTTEvaluationOutput& iOther);
    virtual ~MTTEvaluationOutput();

    virtual MTTEvaluationOutputType GetMTTEvaluationOutputType() const = 0;
    // Appends the text of this output to ioText (never clears it).
    virtual long toString(MTTString& ioText) const = 0;
    virtual bool IsEmpty() const = 0;
    // Calls the visitor for this output only; it does not descend.
    virtual long Accept(MTTIEvaluationOutputVisitor* visitor) = 0;

    MTTIStatement* GetStatement() const { return _statement; }
    MTLIModelObject* GetModelObject() const { return _modelObject; }

private:
    MTTIStatement* _statement;
    MTLIModelObject* _modelObject;
};

#endif
