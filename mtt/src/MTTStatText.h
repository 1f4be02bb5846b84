#ifndef MTTSTATTEXT_H
#define MTTSTATTEXT_H

#include "MTTIStatement.h"
#include "MTTStatementRun.h"

// Literal template text: one leaf holding the text, in both modes.
class MTTStatText final : public MTTIStatement {
public:
    explicit MTTStatText(const MTTString& iText);
    ~MTTStatText() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTT_EVALUATED_BY_RUN;
    // The shared late form: Evaluate.
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetText() const { return _text; }
    const MTTString& Text() const { return _text; }
    void SetText(const MTTString& iText);

private:
    MTTString _text;
};

#endif
