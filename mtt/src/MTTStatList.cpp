#include "MTTStatList.h"

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationLevel.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTNodeSupport.h"
#include "MTTOutputBuilder.h"
#include "MTTTextWriter.h"

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

template <class Out>
typename Out::Result MTTStatList::Run(MTTEvaluationEnvironment* iEnvironment, Out& ioOut)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return ioOut.Fail();
    MTTEvaluationLevel level(iEnvironment);
    typename Out::Node node = ioOut.Open(this, iEnvironment->GetCurrentModelObject());
    ioOut.Reserve(node, _statements.Size());
    for (int i = 1; i <= _statements.Size(); ++i) {
        MTTIStatement* statement = _statements[i];
        if (statement == nullptr) {
            MTTReport(this, this, stdout, "ERROR: malformed MTTStatList.\n");
            return ioOut.Abandon(node);
        }
        if (!ioOut.Add(node, statement, _statements.KindAt(i), iEnvironment)) {
            MTTReport(this, statement, stdout, "ERROR: StatList failed evaluation for child %d.\n", i);
            return ioOut.Abandon(node);
        }
    }
    return ioOut.Close(node);
}

MTTEvaluationOutput* MTTStatList::Evaluate(MTTEvaluationEnvironment* iEnvironment)
{
    MTTOutputBuilder builder;
    return Run(iEnvironment, builder);
}

bool MTTStatList::WriteText(MTTEvaluationEnvironment* iEnvironment, MTTTextWriter& ioWriter)
{
    return Run(iEnvironment, ioWriter);
}

MTTEvaluationOutput* MTTStatList::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    MTTEvaluationLevel level(iEnvironment);
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
