#ifndef MTT_RUNTIME_H
#define MTT_RUNTIME_H

// Run-time support for code produced by late evaluation with CppLateEvaluator.
// Header-only, C++17; needs nlohmann/json.hpp and mtt_json_builder.h (beside
// this file).
//
// The generated statements read the model through one object of class
// mtt_runtime::Model (named mtt_model unless the evaluator was told
// otherwise):
//
//   mtt_model.Value("a/b", "name")   text of member "name" of the object at a/b
//   mtt_model.Size("/classes")       number of elements of the array at /classes
//   mtt_model.Enter("attributes", index_i)   makes that element current
//   mtt_model.Leave()                makes the previous object current again
//
// A path that starts with "/" starts at the root, any other path at the
// current object; elements are member names separated by "/", and a first
// element "this" stands for the start object. Texts are those of the JSON
// model adapter (JsonModel): a string as it is (cut at a \u0000), a number
// as JSON writes it, true/false, and null as the empty text; members that
// are missing or not scalars read as the empty text. A path that leads
// nowhere is reported on std::cerr and reads as empty or as an empty list,
// so a broken model never stops the program.
//
// A program wraps the generated statements like this:
//
//   #include "mtt_runtime.h"
//   int main(int argc, char** argv) {
//       mtt_runtime::Model mtt_model;
//       std::string error;
//       if (argc < 2 || !mtt_model.LoadFile(argv[1], error)) { std::cerr << error << "\n"; return 2; }
//       /* generated statements */
//       return 0;
//   }
//
// Late declarations use the type names int and KORUnicodeString.

#include <cstddef>
#include <iostream>
#include <string>
#include <vector>

#include "mtt_json_builder.h"

typedef std::string KORUnicodeString;

namespace mtt_runtime {

// The model as generated code sees it: the document and a stack of current
// objects whose bottom is the root. Not copyable (the stack points into the
// document).
class Model {
public:
    Model() = default;
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    bool LoadFile(const std::string& iPath, std::string& oError)
    {
        std::string text;
        return ReadFile(iPath, text, oError) && LoadText(text, iPath, oError);
    }

    bool LoadText(const std::string& iText, const std::string& iName, std::string& oError)
    {
        _stack.clear();
        if (!ParseJson(iText, iName, _document, oError)) return false;
        _stack.push_back(&_document);
        return true;
    }

    std::string Value(const std::string& iPath, const std::string& iName) const
    {
        const Json* object = Walk(iPath);
        if (object == nullptr) return std::string();
        const Json* member = Member(object, iName);
        return member != nullptr && IsScalar(*member) ? ScalarText(*member) : std::string();
    }

    int Size(const std::string& iPath) const
    {
        const Json* list = Walk(iPath);
        if (list == nullptr) return 0;
        if (!list->is_array()) {
            Report("no list at", iPath);
            return 0;
        }
        return list->size() > 0x7fffffffu ? 0x7fffffff : static_cast<int>(list->size());
    }

    // Always pushes, a null object when the element is missing, so that
    // every Enter is undone by one Leave.
    void Enter(const std::string& iPath, int iIndex)
    {
        const Json* list = Walk(iPath);
        const Json* element = nullptr;
        if (list != nullptr && list->is_array() && iIndex >= 0 && static_cast<std::size_t>(iIndex) < list->size()) {
            element = &(*list)[static_cast<std::size_t>(iIndex)];
        } else if (list != nullptr) {
            Report("no element " + std::to_string(iIndex) + " of the list at", iPath);
        }
        _stack.push_back(element);
    }

    // The root is never left.
    void Leave()
    {
        if (_stack.size() > 1) {
            _stack.pop_back();
        } else {
            std::cerr << "mtt_runtime: error: Leave without Enter\n";
        }
    }

    // Number of objects on the stack: 1 after loading, plus one per Enter.
    std::size_t Depth() const { return _stack.size(); }

private:
    const Json* Walk(const std::string& iPath) const
    {
        if (_stack.empty()) {
            std::cerr << "mtt_runtime: error: no model loaded\n";
            return nullptr;
        }
        bool absolute = !iPath.empty() && iPath[0] == '/';
        const Json* object = absolute ? _stack.front() : _stack.back();
        std::size_t start = absolute ? 1 : 0;
        if (object == nullptr) return nullptr;  // already reported by Enter
        if (start >= iPath.size()) return object;
        for (bool first = true;; first = false) {
            std::size_t end = iPath.find('/', start);
            std::string element = iPath.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!(first && element == "this")) {
                object = Member(object, element);
                if (object == nullptr) {
                    Report("no object at", iPath);
                    return nullptr;
                }
            }
            if (end == std::string::npos) return object;
            start = end + 1;
        }
    }

    static void Report(const std::string& iWhat, const std::string& iPath)
    {
        std::cerr << "mtt_runtime: error: " << iWhat << " path \"" << iPath << "\"\n";
    }

    Json _document;
    std::vector<const Json*> _stack;
};

}  // namespace mtt_runtime

#endif
