#include "TestModel.h"

TestObject::TestObject(int iKind, std::string iText) : _kind(iKind), _text(std::move(iText)), _forcedSize(-1) {}

TestObject::~TestObject() {}

TestObject& TestObject::Set(const std::string& iName, const std::string& iValue)
{
    _values[iName] = iValue;
    return *this;
}

TestObject& TestObject::AddObject(const std::string& iName)
{
    auto& slot = _properties[iName];
    slot.reset(new TestObject(0));
    return *slot;
}

TestObject& TestObject::AddList(const std::string& iName)
{
    auto& slot = _properties[iName];
    slot.reset(new TestObject(1));
    return *slot;
}

TestObject& TestObject::AddScalar(const std::string& iName, const std::string& iText)
{
    auto& slot = _properties[iName];
    slot.reset(new TestObject(2, iText));
    return *slot;
}

TestObject& TestObject::AddElement()
{
    _elements.emplace_back(new TestObject(0));
    return *_elements.back();
}

void TestObject::AddElement(TestObject* iElement)
{
    _elements.emplace_back(iElement);
}

MTLIModelObject* TestObject::GetProperty(const MTTString& iName)
{
    calls.push_back(std::string("GetProperty(") + iName.ConvertToChar() + ")");
    auto it = _properties.find(iName.ConvertToChar());
    return it == _properties.end() ? nullptr : it->second.get();
}

int TestObject::GetSize()
{
    calls.push_back("GetSize()");
    return _forcedSize >= 0 ? _forcedSize : static_cast<int>(_elements.size());
}

MTLIModelObject* TestObject::GetElement(int iIndex)
{
    calls.push_back("GetElement(" + std::to_string(iIndex) + ")");
    if (iIndex < 0 || iIndex >= static_cast<int>(_elements.size())) return nullptr;
    return _elements[static_cast<size_t>(iIndex)].get();
}

MTTString TestObject::GetValue(const char* iName)
{
    calls.push_back(std::string("GetValue(") + (iName ? iName : "null") + ")");
    if (iName == nullptr) return MTTString(_text.c_str());
    auto it = _values.find(iName);
    return it == _values.end() ? MTTString() : MTTString(it->second.c_str());
}
