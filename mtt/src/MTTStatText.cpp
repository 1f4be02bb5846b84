#include "MTTStatText.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTNodeSupport.h"

MTTStatText::MTTStatText(const MTTString& iText) : _text(iText) {}

MTTStatText::~MTTStatText() {}

long MTTStatText::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatText::GetChildCount()
{
    return 0;
}

MTTNode* MTTStatText::GetChild(int)
{
    return nullptr;
}

MTTEvaluationOutput* MTTStatText::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    return new MTTEvaluationOutputLeaf(this, iEnvironment->GetCurrentModelObject(), _text);
}

MTTEvaluationOutput* MTTStatText::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}

void MTTStatText::SetText(const MTTString& iText)
{
    _text = iText;
}
