#include "MTTToStringVisitor.h"

#include "MTTNodeClasses.h"
#include "MTTNodeSupport.h"

namespace {

// Appends a child's dump in place, or "NULL" for a missing child; the parent
// writes every separator.
void AppendChild(MTTString* ioOutput, MTTINodeVisitor* iVisitor, MTTNode* iParent, int iIndex)
{
    if (!MTT_CHECK(NULL != iParent, "node")) {
        ioOutput->Append("NULL", 4);
        return;
    }
    MTTNode* child = iParent->GetChild(iIndex);
    if (child == nullptr) {
        ioOutput->Append("NULL", 4);
        return;
    }
    child->Accept(iVisitor);
}

}  // namespace

MTTToStringVisitor::MTTToStringVisitor(MTTString* iOutput) : _output(iOutput) {}

MTTToStringVisitor::~MTTToStringVisitor() {}

// A visit given a null node reports it and dumps "NULL" in its place.
#define MTT_REQUIRE_ELEM(node)                   \
    if (!MTT_CHECK(NULL != (node), "elem")) {    \
        _output->Append("NULL", 4);              \
        return S_OK;                             \
    }

long MTTToStringVisitor::VisitExpProperty(MTTExpProperty* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("${", 2).Append(iNode->Name()).Append(":", 1);
    const ListOfMTTString& path = iNode->PathList();
    for (int i = 1; i <= path.Size(); ++i) {
        if (i > 1 || !iNode->IsRelative()) _output->Append("/", 1);
        _output->Append(path[i]);
    }
    _output->Append("}", 1);
    return S_OK;
}

long MTTToStringVisitor::VisitExpString(MTTExpString* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("\"", 1).Append(iNode->Text()).Append("\"", 1);
    return S_OK;
}

long MTTToStringVisitor::VisitExpVariable(MTTExpVariable* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("(Var ", 5).Append(iNode->Name()).Append(")", 1);
    return S_OK;
}

// The eight two-operand operators: "(lhs op rhs)".
#define MTT_DUMP_BINARY(Kind)                                          \
    long MTTToStringVisitor::Visit##Kind(MTT##Kind* iNode)             \
    {                                                                  \
        MTT_REQUIRE_ELEM(iNode);                                       \
        _output->Append("(", 1);                                       \
        AppendChild(_output, this, iNode, 1);                          \
        _output->Append(" ", 1).Append(iNode->GetOperator()).Append(" ", 1); \
        AppendChild(_output, this, iNode, 2);                          \
        _output->Append(")", 1);                                       \
        return S_OK;                                                   \
    }
MTT_DUMP_BINARY(ExpNotEquals)
MTT_DUMP_BINARY(ExpEquals)
MTT_DUMP_BINARY(ExpAnd)
MTT_DUMP_BINARY(ExpOr)
MTT_DUMP_BINARY(ExpLEQ)
MTT_DUMP_BINARY(ExpGEQ)
MTT_DUMP_BINARY(ExpLT)
MTT_DUMP_BINARY(ExpGT)
#undef MTT_DUMP_BINARY

long MTTToStringVisitor::VisitExpDefined(MTTExpDefined* iNode)
{
    _output->Append("defined ", 8);
    AppendChild(_output, this, iNode, 1);
    return S_OK;
}

long MTTToStringVisitor::VisitExpNot(MTTExpNot* iNode)
{
    _output->Append("!", 1);
    AppendChild(_output, this, iNode, 1);
    return S_OK;
}

long MTTToStringVisitor::VisitStatText(MTTStatText* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("(text \"", 7).Append(iNode->Text()).Append("\")", 2);
    return S_OK;
}

long MTTToStringVisitor::VisitStatSpecialText(MTTStatSpecialText* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("(specialtext \"", 14).Append(iNode->Text()).Append("\")", 2);
    return S_OK;
}

// Markers and comments leave no trace in the dump.
long MTTToStringVisitor::VisitStatBeginStatement(MTTStatBeginStatement* iNode)
{
    MTT_CHECK(NULL != iNode, "elem");
    return S_OK;
}

long MTTToStringVisitor::VisitStatEndStatement(MTTStatEndStatement* iNode)
{
    MTT_CHECK(NULL != iNode, "elem");
    return S_OK;
}

long MTTToStringVisitor::VisitStatComment(MTTStatComment* iNode)
{
    MTT_CHECK(NULL != iNode, "elem");
    return S_OK;
}

long MTTToStringVisitor::VisitStatIf(MTTStatIf* iNode)
{
    _output->Append("(if ", 4);
    AppendChild(_output, this, iNode, 1);
    _output->Append(" ", 1);
    AppendChild(_output, this, iNode, 2);
    _output->Append(" ", 1);
    AppendChild(_output, this, iNode, 3);
    _output->Append(")", 1);
    return S_OK;
}

long MTTToStringVisitor::VisitStatForeach(MTTStatForeach* iNode)
{
    _output->Append("(foreach ", 9);
    AppendChild(_output, this, iNode, 1);
    _output->Append(" ", 1);
    AppendChild(_output, this, iNode, 2);
    _output->Append(")", 1);
    return S_OK;
}

long MTTToStringVisitor::VisitStatUsercode(MTTStatUsercode* iNode)
{
    _output->Append("(usercode ", 10);
    AppendChild(_output, this, iNode, 1);
    _output->Append(")", 1);
    return S_OK;
}

long MTTToStringVisitor::VisitStatExpression(MTTStatExpression* iNode)
{
    _output->Append("(", 1);
    AppendChild(_output, this, iNode, 1);
    _output->Append(")", 1);
    return S_OK;
}

long MTTToStringVisitor::VisitStatFunctionDecl(MTTStatFunctionDecl* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("(function ", 10).Append(iNode->Name()).Append(" (", 2);
    const ListOfMTTString& parameters = iNode->Parameters();
    for (int i = 1; i <= parameters.Size(); ++i) {
        if (i > 1) _output->Append(", ", 2);
        _output->Append(parameters[i]);
    }
    _output->Append(") {", 3);
    AppendChild(_output, this, iNode, 1);
    _output->Append("})", 2);
    return S_OK;
}

long MTTToStringVisitor::VisitStatFunctionCall(MTTStatFunctionCall* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("(call ", 6).Append(iNode->Name()).Append(" (", 2);
    int count = iNode->GetChildCount();
    for (int i = 1; i <= count; ++i) {
        if (i > 1) _output->Append(", ", 2);
        AppendChild(_output, this, iNode, i);
    }
    _output->Append("))", 2);
    return S_OK;
}

// Assignments dump readably: the variable on the left, as a variable
// expression would dump, and the value expression on the right.
#define MTT_DUMP_UPDATE(Kind, Infix)                                   \
    long MTTToStringVisitor::Visit##Kind(MTT##Kind* iNode)             \
    {                                                                  \
        MTT_REQUIRE_ELEM(iNode);                                       \
        _output->Append("((Var ", 6).Append(iNode->Name()).Append(")", 1); \
        _output->Append(Infix);                                        \
        AppendChild(_output, this, iNode, 1);                          \
        _output->Append(")", 1);                                       \
        return S_OK;                                                   \
    }
MTT_DUMP_UPDATE(StatAssign, " = ")
MTT_DUMP_UPDATE(StatAppend, " += ")
MTT_DUMP_UPDATE(StatOrEquals, " |= ")
#undef MTT_DUMP_UPDATE

long MTTToStringVisitor::VisitStatList(MTTStatList* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    int count = iNode->GetChildCount();
    for (int i = 1; i <= count; ++i) AppendChild(_output, this, iNode, i);
    return S_OK;
}

long MTTToStringVisitor::VisitStatDeclareVariable(MTTStatDeclareVariable* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("(declare ", 9).Append(iNode->Name()).Append(")", 1);
    return S_OK;
}
