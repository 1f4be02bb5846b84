#include "MTTStatSpecialText.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTNodeSupport.h"

MTTStatSpecialText::MTTStatSpecialText(const MTTString& iText) : _identifier(iText) {}

MTTStatSpecialText::~MTTStatSpecialText() {}

long MTTStatSpecialText::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatSpecialText::GetChildCount()
{
    return 0;
}

MTTNode* MTTStatSpecialText::GetChild(int)
{
    return nullptr;
}

MTTEvaluationOutput* MTTStatSpecialText::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    const char* text = nullptr;
    if (_identifier == "SPC") {
        text = " ";
    } else if (_identifier == "NL") {
        text = "\n";
    } else {
        MTTReport(this, this, stdout, "ERROR: Unknown text identifier in specialtext \"%s\".", _identifier.ConvertToChar());
        return nullptr;
    }
    return new MTTEvaluationOutputLeaf(this, iEnvironment->GetCurrentModelObject(), MTTString(text));
}

MTTEvaluationOutput* MTTStatSpecialText::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
