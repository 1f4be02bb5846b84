#ifndef MTTSTATSPECIALTEXT_H
#define MTTSTATSPECIALTEXT_H

#include "MTTIStatement.h"

class MTTTextWriter;

// A named special text: "SPC" gives one blank, "NL" one line feed; any
// other identifier is reported and fails.
class MTTStatSpecialText final : public MTTIStatement {
public:
    explicit MTTStatSpecialText(const MTTString& iText);
    ~MTTStatSpecialText() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment* iEnvironment) override;
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // Evaluate's text alone (MTTEvaluateText); false where Evaluate fails.
    bool WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter);

    MTTString GetText() const { return _identifier; }
    const MTTString& Text() const { return _identifier; }

private:
    template <class Out>
    typename Out::Result Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut);

    MTTString _identifier;
};

#endif
