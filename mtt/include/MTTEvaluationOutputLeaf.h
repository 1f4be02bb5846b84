#ifndef MTTEVALUATIONOUTPUTLEAF_H
#define MTTEVALUATIONOUTPUTLEAF_H

#include <cstddef>

#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputLeafType.h"
#include "MTTExport.h"
#include "MTTString.h"

// An output holding one piece of text, of type MTTLeafGeneratedText until
// SetLeafType says otherwise.
class MTT_EXPORT MTTEvaluationOutputLeaf : public MTTEvaluationOutput {
public:
    // Evaluation makes these by the million: they come from a block pool.
    static void* operator new(size_t iSize);
    static void operator delete(void* iBlock, size_t iSize);

    MTTEvaluationOutputLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, const MTTString& iText);
    MTTEvaluationOutputLeaf(MTTIStatement* iStatement, MTLIModelObject* iModelObject, MTTString&& iText);
    MTTEvaluationOutputLeaf(const MTTEvaluationOutputLeaf& iOther);
    MTTEvaluationOutputLeaf& operator=(const MTTEvaluationOutputLeaf& iOther);
    ~MTTEvaluationOutputLeaf() override;

    MTTEvaluationOutputType GetMTTEvaluationOutputType() const override;
    long toString(MTTString& ioText) const override;
    // True exactly when the text is empty; blanks count as text.
    bool IsEmpty() const override;
    long Accept(MTTIEvaluationOutputVisitor* visitor) override;

    MTTString GetText() const { return _text; }
    // The text without a copy, valid while the leaf lives and is unchanged.
    const MTTString& Text() const { return _text; }
    MTTEvaluationOutputLeafType GetLeafType() const { return _leafType; }
    void SetLeafType(MTTEvaluationOutputLeafType iType) { _leafType = iType; }

private:
    // Packed behind the base's fields: a leaf takes 56 bytes.
    MTTEvaluationOutputLeafType _leafType;
    // In a union, so that the leaf's destructor calls the text's only when
    // it holds a buffer: most texts are short and live inside it.
    union {
        MTTString _text;
    };
};

#endif
