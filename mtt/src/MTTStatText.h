#ifndef MTTSTATTEXT_H
#define MTTSTATTEXT_H

#include "MTTIStatement.h"

class MTTTextWriter;

// Literal template text: one leaf holding the text, in both modes.
class MTTStatText final : public MTTIStatement {
public:
    explicit MTTStatText(const MTTString& iText);
    ~MTTStatText() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText); false where Evaluate fails.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);

    MTTString GetText() const { return _text; }
    const MTTString& Text() const { return _text; }
    void SetText(const MTTString& iText);

private:
    template <class Out>
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut);

    MTTString _text;
};

#endif
