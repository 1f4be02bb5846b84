#include "MTTExpProperty.h"

#include "MTLILateEvaluator.h"
#include "MTLIModelObject.h"
#include "MTTDiagnostics.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTMessages.h"
#include "MTTNodeSupport.h"

MTTExpProperty::MTTExpProperty(const ListOfMTTString& iPath, bool iRelative, const MTTString& iName)
    : _name(iName), _relative(iRelative), _path(iPath)
{
}

MTTExpProperty::~MTTExpProperty()
{
    _path.RemoveAll();
}

long MTTExpProperty::Accept(MTTINodeVisitor* visitor)
{
    return MTTAccept(visitor, this);
}

int MTTExpProperty::GetChildCount()
{
    return 0;
}

MTTNode* MTTExpProperty::GetChild(int)
{
    return nullptr;
}

int MTTExpProperty::GetExpType()
{
    return 1;
}

MTLIModelObject* MTTExpProperty::Walk(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return nullptr;
    MTLIModelObject* object = _relative ? iEnvironment->GetCurrentModelObject() : iEnvironment->GetRootModelObject();
    // Most values are read from the object itself, without a path.
    return _path.Size() == 0 ? object : WalkPath(object);
}

MTLIModelObject* MTTExpProperty::WalkPath(MTLIModelObject* iStart)
{
    MTTReportingNode reporting(this);  // what the model reports, it reports for this property
    MTLIModelObject* object = iStart;
    int size = _path.Size();
    for (int i = 1; i <= size && object != nullptr; ++i) {
        const MTTString& element = _path[i];
        if (i == 1 && element == "this") continue;
        object = object->GetProperty(element);
    }
    return object;
}

MTLIModelObject* MTTExpProperty::EvaluateModelObject(MTTEvaluationEnvironment* iEnvironment)
{
    MTLIModelObject* object = Walk(iEnvironment);
    if (object == nullptr) {
        MTTReport(this, this, stdout, MTTMessages::kPropertyMissing, ToString().ConvertToChar());
    }
    return object;
}

bool MTTExpProperty::EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment)
{
    return Walk(iEnvironment) != nullptr;
}

MTTString MTTExpProperty::EvaluateString(MTTEvaluationEnvironment* iEnvironment)
{
    MTLIModelObject* object = EvaluateModelObject(iEnvironment);
    if (object == nullptr) return MTTString();
    MTTReportingNode reporting(this);
    return object->GetValue(_name.ConvertToChar());
}

MTTString MTTExpProperty::LateEvaluate(MTTEvaluationEnvironment* iEnvironment)
{
    if (!MTT_CHECK(NULL != iEnvironment, "NULL != iEnvironment")) return MTTString();
    MTLILateEvaluator* evaluator = iEnvironment->GetLateEvaluator();
    if (evaluator == nullptr) {
        MTTReport(this, this, stdout, MTTMessages::kPropertyNeedsLateEvaluator);
        return MTTString();
    }
    MTTString path = GetPath();
    return evaluator->LateProperty(path.ConvertToChar(), _name.ConvertToChar());
}

MTTString MTTExpProperty::GetPath()
{
    MTTString path(_relative ? "" : "/");
    for (int i = 1; i <= _path.Size(); ++i) {
        if (i > 1) path.Append("/", 1);
        path.Append(_path[i]);
    }
    return path;
}
