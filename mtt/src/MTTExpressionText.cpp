#include "MTTExpressionText.h"

#include "MTTExpProperty.h"
#include "MTTExpString.h"
#include "MTTExpVariable.h"

MTTExpressionText::Kind MTTExpressionText::KindOf(const MTTIExpression* iExpression)
{
    if (dynamic_cast<const MTTExpString*>(iExpression) != nullptr) return kString;
    if (dynamic_cast<const MTTExpVariable*>(iExpression) != nullptr) return kVariable;
    if (dynamic_cast<const MTTExpProperty*>(iExpression) != nullptr) return kProperty;
    return kOther;
}
