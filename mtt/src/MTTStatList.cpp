#include "MTTStatList.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTNodeSupport.h"

MTTStatList::MTTStatList() {}

MTTStatList::~MTTStatList()
{
    MTTDeleteElements(_statements);
}

long MTTStatList::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTStatList::GetChildCount()
{
    return _statements.Size();
}

MTTNode* MTTStatList::GetChild(int iIndex)
{
    return MTTListChildAt(_statements, iIndex);
}

MTTIStatement* MTTStatList::Append(MTTIStatement* iNext)
{
    if (iNext != nullptr) _statements.Append(iNext);
    return this;
}

MTTEvaluationOutput* MTTStatList::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, iEnvironment->GetCurrentModelObject());
    node->ReserveChildren(_statements.Size());
    for (int i = 1; i <= _statements.Size(); ++i) {
        MTTIStatement* statement = _statements[i];
        if (statement == nullptr) {
            MTTReport(this, this, stdout, "ERROR: malformed MTTStatList.\n");
            delete node;
            return nullptr;
        }
        MTTEvaluationOutput* output = statement->Evaluate(iEnvironment);
        if (output == nullptr) {
            MTTReport(this, statement, stdout, "ERROR: StatList failed evaluation for child %d.\n", i);
            delete node;
            return nullptr;
        }
        node->AddChild(output);
    }
    return node;
}

MTTEvaluationOutput* MTTStatList::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    MTTEvaluationOutputNode* node = new MTTEvaluationOutputNode(this, nullptr);
    node->ReserveChildren(_statements.Size());
    for (int i = 1; i <= _statements.Size(); ++i) {
        MTTIStatement* statement = _statements[i];
        if (!MTT_CHECK(NULL != statement, "NULL != elem")) {
            delete node;
            return nullptr;
        }
        MTTEvaluationOutput* output = statement->LateEvaluate(iEnvironment);
        if (output == nullptr) {
            MTTReport(this, statement, stdout, "ERROR: StatList failed late evaluation for child %d.\n", i);
            delete node;
            return nullptr;
        }
        node->AddChild(output);
    }
    return node;
}
