#ifndef MTTSTATFUNCTIONDECL_H
#define MTTSTATFUNCTIONDECL_H

#include "ListOfMTTString.h"
#include "MTTIStatement.h"
#include "MTTStatementKind.h"
#include "MTTStatementRun.h"

class ListOfMTTIExpression;

// A function definition. Evaluating it registers it in the innermost scope
// and produces no text; a call evaluates the body in a new scope where each
// parameter is an alias of the call's argument expression (by name).
class MTTStatFunctionDecl final : public MTTIStatement {
public:
    MTTStatFunctionDecl(const MTTString& iName, const ListOfMTTString& iParameters, MTTIStatement* iBody);
    ~MTTStatFunctionDecl() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    MTT_EVALUATED_BY_RUN;
    // The shared late form: Evaluate.
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;

    // The body for one call; null after a reported failure.
    MTTEvaluationOutput* EvaluateCall(MTTEvaluationEnvironment* iEnvironment, ListOfMTTIExpression* iArguments);
    MTTEvaluationOutput* LateEvaluateCall(MTTEvaluationEnvironment* iEnvironment, ListOfMTTIExpression* iArguments);
    // EvaluateCall's text alone; false where it fails.
    bool WriteCall(MTTEvaluationEnvironment* iEnvironment, ListOfMTTIExpression* iArguments, MTTTextWriter& ioWriter);
    bool WriteCall(MTTEvaluationEnvironment* iEnvironment, ListOfMTTIExpression* iArguments,
                   MTTHeardTextWriter& ioWriter);

    MTTString GetName() const { return _name; }
    const MTTString& Name() const { return _name; }
    ListOfMTTString GetParameters() const { return _parameters; }
    const ListOfMTTString& Parameters() const { return _parameters; }

private:
    MTTStatFunctionDecl(const MTTStatFunctionDecl&) = delete;
    MTTStatFunctionDecl& operator=(const MTTStatFunctionDecl&) = delete;
    template <class Out>
    typename Out::Result RunCall(MTTEvaluationEnvironment* iEnvironment, ListOfMTTIExpression* iArguments, bool iLate,
                                 Out& ioOut);

    MTTString _name;
    ListOfMTTString _parameters;
    MTTIStatement* _body;
    MTTStatementKind _bodyKind;
};

#endif
