#ifndef MTTEVALUATIONOUTPUT_H
#define MTTEVALUATIONOUTPUT_H

#include <cstdint>

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
    MTTEvaluationOutput(MTTIStatement* iStatement, MTLIModelObject* iModelObject)
        : _statement(iStatement), _modelObject(iModelObject), _textLength(0)
    {
    }
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
    friend class MTTEvaluationOutputNode;

    MTTIStatement* _statement;
    MTLIModelObject* _modelObject;

protected:
    // The length of this output's text as far as it is known (a node sums
    // its children's when they are added; saturates): how much toString
    // reserves up front, never what it writes.
    uint32_t _textLength;
};

#endif
