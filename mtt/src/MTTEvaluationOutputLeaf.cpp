#include "MTTEvaluationOutputLeaf.h"

#include <utility>

#include "MTTBlockPool.h"
#include "MTTDiagnostics.h"
#include "MTTIEvaluationOutputVisitor.h"
#include "MTTOutputLength.h"

MTTEvaluationOutputLeaf::MTTEvaluationOutputLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject,
                                                 const MTTString& iText)
    : MTTEvaluationOutput(iStatement, iModelObject), _leafType(MTTLeafGeneratedText), _text(iText)
{
    _textLength = MTTOutputLength::Of(_text.Length());
}

MTTEvaluationOutputLeaf::MTTEvaluationOutputLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject,
                                                 MTTString&& iText)
    : MTTEvaluationOutput(iStatement, iModelObject), _leafType(MTTLeafGeneratedText), _text(std::move(iText))
{
    _textLength = MTTOutputLength::Of(_text.Length());
}

MTTEvaluationOutputLeaf::MTTEvaluationOutputLeaf(const MTTEvaluationOutputLeaf& iOther)
    : MTTEvaluationOutput(iOther), _leafType(iOther._leafType), _text(iOther._text)
{
}

MTTEvaluationOutputLeaf& MTTEvaluationOutputLeaf::operator=(const MTTEvaluationOutputLeaf& iOther)
{
    MTTEvaluationOutput::operator=(iOther);
    _leafType = iOther._leafType;
    _text = iOther._text;
    _textLength = MTTOutputLength::Of(_text.Length());
    return *this;
}

MTTEvaluationOutputLeaf::~MTTEvaluationOutputLeaf()
{
    if (_text.HoldsBuffer()) _text.~MTTString();
}

MTTEvaluationOutputType MTTEvaluationOutputLeaf::GetMTTEvaluationOutputType() const
{
    return MTTOutputLeaf;
}

long MTTEvaluationOutputLeaf::toString(MTTString& ioText) const
{
    ioText.Append(_text);
    return S_OK;
}

bool MTTEvaluationOutputLeaf::IsEmpty() const
{
    return _text.IsEmpty();
}

long MTTEvaluationOutputLeaf::Accept(MTTIEvaluationOutputVisitor* visitor)
{
    if (!MTT_CHECK(NULL != visitor, "visitor")) return E_FAIL;
    return visitor->VisitOutputLeaf(this);
}

void* MTTEvaluationOutputLeaf::operator new(size_t iSize)
{
    return MTTBlockPool::Allocate(iSize);
}

void MTTEvaluationOutputLeaf::operator delete(void* iBlock, size_t iSize)
{
    MTTBlockPool::Release(iBlock, iSize);
}
