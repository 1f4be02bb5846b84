#ifndef TESTMODEL_H
#define TESTMODEL_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MTLIModelObject.h"

// A small in-memory model for tests. An object owns its properties and
// elements. Kind 1 for lists, 2 for scalars, 0 for plain objects.
//   TestObject root;
//   root.Set("name", "Shop");                  // a value read by GetValue
//   TestObject& classes = root.AddList("classes");
//   TestObject& c = classes.AddElement();       // a plain object
//   c.Set("name", "Order");
//   c.AddScalar("UserCode", "// mine");        // a scalar property
class TestObject : public MTLIModelObject {
public:
    explicit TestObject(int iKind = 0, std::string iText = std::string());
    ~TestObject() override;

    // Values read by GetValue(name), and the scalar's own text.
    TestObject& Set(const std::string& iName, const std::string& iValue);
    TestObject& AddObject(const std::string& iName);
    TestObject& AddList(const std::string& iName);
    TestObject& AddScalar(const std::string& iName, const std::string& iText);
    // Elements of a list: a new plain object, or a given one (taken over;
    // null leaves a hole that GetElement answers with null).
    TestObject& AddElement();
    void AddElement(TestObject* iElement);
    // GetSize answers this instead of the element count when set.
    void ForceSize(int iSize) { _forcedSize = iSize; }

    int GetKind() override { return _kind; }
    MTLIModelObject* GetProperty(const MTTString& iName) override;
    int GetSize() override;
    MTLIModelObject* GetElement(int iIndex) override;
    MTTString GetValue(const char* iName) override;

    // Every call made on this object, in order, e.g. "GetProperty(a)".
    std::vector<std::string> calls;

private:
    int _kind;
    std::string _text;
    int _forcedSize;
    std::map<std::string, std::string> _values;
    std::map<std::string, std::unique_ptr<TestObject>> _properties;
    std::vector<std::unique_ptr<TestObject>> _elements;
};

#endif
