#ifndef MTTEXPPROPERTY_H
#define MTTEXPPROPERTY_H

#include "ListOfMTTString.h"
#include "MTLIModelObject.h"
#include "MTTDiagnostics.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTIExpression.h"
#include "MTTInfraCompiler.h"

// Reads the model: walks _path by GetProperty from the current model object
// (relative) or the root one, then reads the value named _name. A first
// path element "this" stands for the start object itself.
class MTTExpProperty final : public MTTIExpression {
public:
    MTTExpProperty(const ListOfMTTString& iPath, bool iRelative, const MTTString& iName);
    ~MTTExpProperty() override;

    long Accept(MTTINodeVisitor* visitor) override;
    int GetChildCount() override;
    MTTNode* GetChild(int iIndex) override;
    int GetExpType() override;
    // The reached object; reports a failed walk.
    MTLIModelObject* EvaluateModelObject(MTTEvaluationEnvironment* iEnvironment) override;
    // Whether the path reaches an object; silent.
    bool EvaluateBoolean(MTTEvaluationEnvironment* iEnvironment) override;
    MTTString EvaluateString(MTTEvaluationEnvironment* iEnvironment) override;
    // EvaluateString, inline where the value is read from the start object
    // itself (no path) and that object exists: most values of a render.
    MTTString Value(MTTEvaluationEnvironment* iEnvironment)
    {
        if (iEnvironment != nullptr && _path.Size() == 0) {
            MTLIModelObject* object =
                _relative ? iEnvironment->GetCurrentModelObject() : iEnvironment->GetRootModelObject();
            if (object != nullptr) {
                MTTReportingNode reporting(this);
                return object->GetValue(_name.ConvertToChar());
            }
        }
        return EvaluateString(iEnvironment);
    }
    // The late evaluator's text for GetPath() and _name.
    MTTString LateEvaluate(MTTEvaluationEnvironment* iEnvironment) override;
    // "a/b" relative, "/a/b" absolute.
    MTTString GetPath() override;

    MTTString GetName() const { return _name; }
    bool IsRelative() const { return _relative; }
    ListOfMTTString GetPathList() const { return _path; }
    // Without copies, for the tree dump.
    const MTTString& Name() const { return _name; }
    const ListOfMTTString& PathList() const { return _path; }

private:
    MTTExpProperty(const MTTExpProperty&) = delete;
    MTTExpProperty& operator=(const MTTExpProperty&) = delete;

    // The object the path reaches from its start object, or null.
    MTLIModelObject* Walk(MTTEvaluationEnvironment* iEnvironment);
    MTT_NOINLINE MTLIModelObject* WalkPath(MTLIModelObject* iStart);

    MTTString _name;
    bool _relative;
    ListOfMTTString _path;
};

#endif
