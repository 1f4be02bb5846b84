#include "MTTStatSpecialText.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTMessages.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"

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

template <class Out>
typename Out::Result MTTStatSpecialText::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    const char* text = nullptr;
    if (_identifier == "SPC") {
        text = " ";
    } else if (_identifier == "NL") {
        text = "\n";
    } else {
        MTTReport(this, this, stdout, MTTMessages::kUnknownSpecialText, _identifier.ConvertToChar());
        return ioOut.Fail();
    }
    return ioOut.Leaf(this, iEnvironment->GetCurrentModelObject(), text, 1);
}

MTT_EVALUATE_BY_RUN(MTTStatSpecialText)

MTTEvaluationOutput* MTTStatSpecialText::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    return MTTIStatement::LateEvaluate(iEnvironment);
}
