#include "CppLateEvaluator.h"

#include "mtt_transform_escapes.h"

CppLateEvaluator::CppLateEvaluator(std::string iModelName) : _modelName(std::move(iModelName)) {}

std::string CppLateEvaluator::Literal(const char* iText)
{
    return "\"" + mtt_runtime::TransformEscapes::C(iText == nullptr ? "" : iText) + "\"";
}

MTTString CppLateEvaluator::LateProperty(const char* iPath, const char* iName)
{
    return MTTString((_modelName + ".Value(" + Literal(iPath) + ", " + Literal(iName) + ")").c_str());
}

MTTString CppLateEvaluator::LateListSize(const char* iPath)
{
    return MTTString((_modelName + ".Size(" + Literal(iPath) + ")").c_str());
}

MTTString CppLateEvaluator::LateEnterElement(const char* iPath, const char* iIndexName)
{
    return MTTString(
        (_modelName + ".Enter(" + Literal(iPath) + ", " + (iIndexName == nullptr ? "" : iIndexName) + ")").c_str());
}

MTTString CppLateEvaluator::LateLeaveElement()
{
    return MTTString((_modelName + ".Leave()").c_str());
}
