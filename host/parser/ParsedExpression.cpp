#include "ParsedExpression.h"

#include "mtt_expression.h"
#include "mtt_name_syntax.h"
#include "mtt_transforms.h"

namespace {

// The operators that the model's expressions share with this tree, in the
// order of ParsedExpression::Kind from kNot.
const mtt_runtime::Expression::Kind kModelKinds[] = {
    mtt_runtime::Expression::kNot,       mtt_runtime::Expression::kDefined,      mtt_runtime::Expression::kNegate,
    mtt_runtime::Expression::kAnd,       mtt_runtime::Expression::kOr,           mtt_runtime::Expression::kEqual,
    mtt_runtime::Expression::kNotEqual,  mtt_runtime::Expression::kLess,         mtt_runtime::Expression::kLessEqual,
    mtt_runtime::Expression::kGreater,   mtt_runtime::Expression::kGreaterEqual, mtt_runtime::Expression::kAdd,
    mtt_runtime::Expression::kSubtract,  mtt_runtime::Expression::kMultiply,     mtt_runtime::Expression::kDivide,
    mtt_runtime::Expression::kRemainder, mtt_runtime::Expression::kPipe};

bool IsBooleanLiteral(const ParsedExpression& iNode)
{
    return iNode.kind == ParsedExpression::kBoolean;
}

}  // namespace

bool ParsedExpression::ReadsModel() const
{
    if (kind == kProperty) return true;
    for (const Owner& operand : operands) {
        if (operand->ReadsModel()) return true;
    }
    return false;
}

const ParsedExpression* ParsedExpression::FindVariable() const
{
    if (kind == kVariable) return this;
    for (const Owner& operand : operands) {
        if (const ParsedExpression* found = operand->FindVariable()) return found;
    }
    return nullptr;
}

std::string ParsedExpression::Write(bool iStrict, bool iTruth) const
{
    switch (kind) {
    case kProperty: return property.Write(iStrict && !iTruth);
    case kString: return mtt_runtime::NameSyntax::WriteString(text);
    case kNumber:
    case kBoolean:
    case kVariable: return text;
    default: break;
    }
    const char* spelling = mtt_runtime::Expression::Spelling(kModelKinds[kind - kNot]);
    switch (kind) {
    case kNot:
    case kDefined: return std::string(spelling) + (kind == kDefined ? " " : "") + operands[0]->Write(iStrict, true);
    case kNegate: return "-" + operands[0]->Write(iStrict, false);
    case kPipe: {
        const Owner& value = operands[0];
        std::string piped = value->Write(iStrict, false);
        if (!value->IsValue() || value->IsArithmetic() || value->kind == kPipe) piped = "(" + piped + ")";
        piped += "|" + text;
        for (size_t i = 1; i < operands.size(); ++i) {
            piped += (i == 1 ? "(" : ", ") + operands[i]->Write(iStrict, false);
        }
        return operands.size() > 1 ? piped + ")" : piped;
    }
    default: {
        const bool logical = kind == kAnd || kind == kOr;
        // Compared with true or false, a missing member is simply not equal.
        const bool flag =
            (kind == kEqual || kind == kNotEqual) && (IsBooleanLiteral(*operands[0]) || IsBooleanLiteral(*operands[1]));
        return "(" + operands[0]->Write(iStrict, logical || flag) + " " + spelling + " " +
               operands[1]->Write(iStrict, logical || flag) + ")";
    }
    }
}
