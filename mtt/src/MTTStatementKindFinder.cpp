#include "MTTStatementKindFinder.h"

#include "MTTIStatement.h"
#include "MTTResult.h"

MTTStatementKind MTTStatementKindFinder::Of(MTTIStatement* iStatement)
{
    if (iStatement == nullptr) return MTTStatementKind::kOther;
    MTTStatementKindFinder finder;
    iStatement->Accept(&finder);
    return finder._kind;
}

#define MTT_NODE(Kind)
#define MTT_STATEMENT(Kind)                              \
    long MTTStatementKindFinder::Visit##Kind(MTT##Kind*) \
    {                                                    \
        _kind = MTTStatementKind::k##Kind;               \
        return S_OK;                                     \
    }
#include "MTTNodeKinds.def"
