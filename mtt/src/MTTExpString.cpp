#include "MTTExpString.h"

#include "MTTLateSyntax.h"
#include "MTTNodeSupport.h"

MTTExpString::MTTExpString(const MTTString& iText, bool iQuoted) : _text(iText), _quoted(iQuoted) {}

MTTExpString::~MTTExpString() {}

long MTTExpString::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTExpString::GetChildCount()
{
    return 0;
}

MTTNode* MTTExpString::GetChild(int)
{
    return nullptr;
}

int MTTExpString::GetExpType()
{
    return 3;
}

bool MTTExpString::EvaluateBoolean(MTTEvaluationEnvironment*)
{
    return !(_text == "false");
}

MTTString MTTExpString::EvaluateString(MTTEvaluationEnvironment*)
{
    return _text;
}

MTTString MTTExpString::LateEvaluate(MTTEvaluationEnvironment*)
{
    return _quoted ? MTTLateSyntax::Quoted(_text) : _text;
}
