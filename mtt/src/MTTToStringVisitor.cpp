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

// The shape of most dumps, "(keyword child child)": iOpen, children 1 to
// iCount of iParent with iSeparator between two of them, then iClose.
void AppendChildren(MTTString* ioOutput, MTTINodeVisitor* iVisitor, MTTNode* iParent, const char* iOpen, int iCount,
                    const char* iSeparator, const char* iClose)
{
    ioOutput->Append(iOpen);
    for (int i = 1; i <= iCount; ++i) {
        if (i > 1) ioOutput->Append(iSeparator);
        AppendChild(ioOutput, iVisitor, iParent, i);
    }
    ioOutput->Append(iClose);
}

}  // namespace

MTTToStringVisitor::MTTToStringVisitor(MTTString* iOutput) : _output(iOutput) {}

MTTToStringVisitor::~MTTToStringVisitor() {}

// A visit given a null node reports it and dumps "NULL" in its place.
#define MTT_REQUIRE_ELEM(node)                \
    if (!MTT_CHECK(NULL != (node), "elem")) { \
        _output->Append("NULL", 4);           \
        return S_OK;                          \
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
#define MTT_DUMP_BINARY(Kind)                                                         \
    long MTTToStringVisitor::Visit##Kind(MTT##Kind* iNode)                            \
    {                                                                                 \
        MTT_REQUIRE_ELEM(iNode);                                                      \
        MTTString separator(" ");                                                     \
        separator.Append(iNode->GetOperator()).Append(" ", 1);                        \
        AppendChildren(_output, this, iNode, "(", 2, separator.ConvertToChar(), ")"); \
        return S_OK;                                                                  \
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

// The dumps made of a keyword and children alone. The node itself is not
// checked: the child rule reports a missing one.
#define MTT_DUMP_CHILDREN(Kind, Open, Count, Separator, Close)               \
    long MTTToStringVisitor::Visit##Kind(MTT##Kind* iNode)                   \
    {                                                                        \
        AppendChildren(_output, this, iNode, Open, Count, Separator, Close); \
        return S_OK;                                                         \
    }
MTT_DUMP_CHILDREN(ExpDefined, "defined ", 1, "", "")
MTT_DUMP_CHILDREN(ExpNot, "!", 1, "", "")
MTT_DUMP_CHILDREN(StatIf, "(if ", 3, " ", ")")
MTT_DUMP_CHILDREN(StatForeach, "(foreach ", 2, " ", ")")
MTT_DUMP_CHILDREN(StatUsercode, "(usercode ", 1, "", ")")
MTT_DUMP_CHILDREN(StatExpression, "(", 1, "", ")")
#undef MTT_DUMP_CHILDREN

// Markers and comments leave no trace in the dump.
#define MTT_DUMP_NOTHING(Kind)                             \
    long MTTToStringVisitor::Visit##Kind(MTT##Kind* iNode) \
    {                                                      \
        MTT_CHECK(NULL != iNode, "elem");                  \
        return S_OK;                                       \
    }
MTT_DUMP_NOTHING(StatBeginStatement)
MTT_DUMP_NOTHING(StatEndStatement)
MTT_DUMP_NOTHING(StatComment)
#undef MTT_DUMP_NOTHING

// The two text statements: the keyword and the text in double quotes.
#define MTT_DUMP_TEXT(Kind, Open)                                     \
    long MTTToStringVisitor::Visit##Kind(MTT##Kind* iNode)            \
    {                                                                 \
        MTT_REQUIRE_ELEM(iNode);                                      \
        _output->Append(Open).Append(iNode->Text()).Append("\")", 2); \
        return S_OK;                                                  \
    }
MTT_DUMP_TEXT(StatText, "(text \"")
MTT_DUMP_TEXT(StatSpecialText, "(specialtext \"")
#undef MTT_DUMP_TEXT

long MTTToStringVisitor::VisitStatFunctionDecl(MTTStatFunctionDecl* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("(function ", 10).Append(iNode->Name()).Append(" (", 2);
    const ListOfMTTString& parameters = iNode->Parameters();
    for (int i = 1; i <= parameters.Size(); ++i) {
        if (i > 1) _output->Append(", ", 2);
        _output->Append(parameters[i]);
    }
    AppendChildren(_output, this, iNode, ") {", 1, "", "})");
    return S_OK;
}

long MTTToStringVisitor::VisitStatFunctionCall(MTTStatFunctionCall* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("(call ", 6).Append(iNode->Name());
    AppendChildren(_output, this, iNode, " (", iNode->GetChildCount(), ", ", "))");
    return S_OK;
}

// Assignments dump readably: the variable on the left, as a variable
// expression would dump, and the value expression on the right.
#define MTT_DUMP_UPDATE(Kind, Infix)                                       \
    long MTTToStringVisitor::Visit##Kind(MTT##Kind* iNode)                 \
    {                                                                      \
        MTT_REQUIRE_ELEM(iNode);                                           \
        _output->Append("((Var ", 6).Append(iNode->Name()).Append(")", 1); \
        AppendChildren(_output, this, iNode, Infix, 1, "", ")");           \
        return S_OK;                                                       \
    }
MTT_DUMP_UPDATE(StatAssign, " = ")
MTT_DUMP_UPDATE(StatAppend, " += ")
MTT_DUMP_UPDATE(StatOrEquals, " |= ")
#undef MTT_DUMP_UPDATE

long MTTToStringVisitor::VisitStatList(MTTStatList* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    AppendChildren(_output, this, iNode, "", iNode->GetChildCount(), "", "");
    return S_OK;
}

long MTTToStringVisitor::VisitStatDeclareVariable(MTTStatDeclareVariable* iNode)
{
    MTT_REQUIRE_ELEM(iNode);
    _output->Append("(declare ", 9).Append(iNode->Name()).Append(")", 1);
    return S_OK;
}
