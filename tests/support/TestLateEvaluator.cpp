#include "TestLateEvaluator.h"

namespace {

MTTString Record(std::vector<std::string>& ioCalls, const std::string& iText)
{
    ioCalls.push_back(iText);
    return MTTString(iText.c_str());
}

}  // namespace

MTTString TestLateEvaluator::LateProperty(const char* iPath, const char* iName)
{
    return Record(calls, std::string("prop(") + iPath + "," + iName + ")");
}

MTTString TestLateEvaluator::LateListSize(const char* iPath)
{
    return Record(calls, std::string("size(") + iPath + ")");
}

MTTString TestLateEvaluator::LateEnterElement(const char* iPath, const char* iIndexName)
{
    return Record(calls, std::string("enter(") + iPath + "," + iIndexName + ")");
}

MTTString TestLateEvaluator::LateLeaveElement()
{
    return Record(calls, "leave()");
}
