#include "MTTStatText.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"

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

template <class Out>
typename Out::Result MTTStatText::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    return ioOut.Leaf(this, iEnvironment->GetCurrentModelObject(), _text);
}

MTT_EVALUATE_BY_RUN(MTTStatText)

MTTEvaluationOutput* MTTStatText::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}

void MTTStatText::SetText(const MTTString& iText)
{
    _text = iText;
}
