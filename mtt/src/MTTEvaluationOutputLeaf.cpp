#include "MTTEvaluationOutputLeaf.h"

#include "MTTBlockPool.h"

#include <utility>

#include "MTTDiagnostics.h"
#include "MTTIEvaluationOutputVisitor.h"

MTTEvaluationOutputLeaf::MTTEvaluationOutputLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject,
                                                 const MTTString& iText)
    : MTTEvaluationOutput(iStatement, iModelObject), _leafType(MTTLeafGeneratedText), _text(iText)
{
}

MTTEvaluationOutputLeaf::MTTEvaluationOutputLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject,
                                                 MTTString&& iText)
    : MTTEvaluationOutput(iStatement, iModelObject), _leafType(MTTLeafGeneratedText), _text(std::move(iText))
{
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
    return *this;
}

MTTEvaluationOutputLeaf::~MTTEvaluationOutputLeaf() {}

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
