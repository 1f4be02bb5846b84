#ifndef MTTSTATSPECIALTEXT_H
#define MTTSTATSPECIALTEXT_H

#include "MTTIStatement.h"
#include "MTTStatementRun.h"

// A named special text: "SPC" gives one blank, "NL" one line feed; any
// other identifier is reported and fails.
class MTTStatSpecialText final : public MTTIStatement {
public:
    explicit MTTStatSpecialText(const MTTString& iText);
    ~MTTStatSpecialText() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTT_EVALUATED_BY_RUN;
    // The shared late form: Evaluate.
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    MTTString GetText() const { return _identifier; }
    const MTTString& Text() const { return _identifier; }

private:
    MTTString _identifier;
};

#endif
