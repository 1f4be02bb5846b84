#ifndef MTT_RUNTIME_H
#define MTT_RUNTIME_H

// Run-time support for code produced by late evaluation with CppLateEvaluator.
// Header-only, C++17; needs nlohmann/json.hpp and the mtt_*.h headers beside
// this file.
//
// The generated statements read the model through one object of class
// mtt_runtime::Model (named mtt_model unless the evaluator was told
// otherwise):
//
//   mtt_model.Value("a/b", "name")   member "name" of the object at a/b, as
//                                    an mtt_runtime::Text (mtt_text.h)
//   mtt_model.Size("/classes")       number of elements of the array at /classes
//   mtt_model.Enter("attributes", index_i)   makes that element current
//   mtt_model.Leave()                makes the previous object current again
//
// Names and paths mean what they mean to the JSON model adapter (JsonModel),
// with the same texts: the value's name is a value reference
// (mtt_value_ref.h: members, "." for the object's own text, "@index" and the
// other loop positions, transforms such as "name|snake"), and a path is a
// list of path elements (mtt_path_element.h: members, quoted members, "..",
// indexes) separated by "/" outside quotes. A path that starts with "/"
// starts at the root, any other path at the current object; a first element
// "this" stands for the start object. A string reads as it is (cut at a
// \u0000), a number as JSON writes it, true/false, and null as the empty
// text; members that are missing or not scalars read as the empty text.
// "UserCode" of an object is its member of that name when that is a scalar,
// else the empty text. A path that leads nowhere is reported on std::cerr
// (by Value when its text is used) and reads as empty or as an empty list,
// so a broken model never stops the program.
//
// Loop positions and ".." need to know which array and object hold a node:
// the current element's position comes from Enter; anything else from an
// index of the document's parents, built on first need only.
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
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mtt_json_builder.h"
#include "mtt_json_values.h"
#include "mtt_path_element.h"
#include "mtt_text.h"
#include "mtt_value_ref_cache.h"

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
        _parents.clear();
        _parentsBuilt = false;
        if (!ParseJson(iText, iName, _document, oError)) return false;
        _stack.push_back(Frame{&_document, nullptr, 0});
        return true;
    }

    Text Value(std::string_view iPath, std::string_view iRef) const
    {
        std::string problem;
        const Json* object = Walk(iPath, problem);
        if (object == nullptr) return Text(std::string(), false, std::move(problem));
        if (NameSyntax::IsPlain(iRef) && iRef != "UserCode") return Text(ScalarText(Member(object, iRef)), true);
        const ValueRef& ref = _refs.Get(iRef);
        auto position = [&](ListPosition& oPosition) { return PositionOf(object, oPosition); };
        auto userCode = [&]() -> const Json& { return JsonValues::UserCodeMember(*object); };
        return Text(JsonValues::Text(ref, *object, position, userCode), true);
    }

    int Size(std::string_view iPath) const
    {
        const Json* list = WalkReporting(iPath);
        if (list == nullptr) return 0;
        if (!list->is_array()) {
            Report("no list at", iPath);
            return 0;
        }
        return list->size() > 0x7fffffffu ? 0x7fffffff : static_cast<int>(list->size());
    }

    // Always pushes, a null object when the element is missing, so that
    // every Enter is undone by one Leave.
    void Enter(std::string_view iPath, int iIndex)
    {
        const Json* list = WalkReporting(iPath);
        Frame frame{nullptr, nullptr, 0};
        if (list != nullptr && list->is_array() && iIndex >= 0 && static_cast<std::size_t>(iIndex) < list->size()) {
            frame = Frame{&(*list)[static_cast<std::size_t>(iIndex)], list, static_cast<std::size_t>(iIndex)};
        } else if (list != nullptr) {
            Report("no element " + std::to_string(iIndex) + " of the list at", iPath);
        }
        _stack.push_back(frame);
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
    // A current object; for an entered element also its list and index.
    struct Frame {
        const Json* object;
        const Json* list;
        std::size_t index;
    };
    // The array or object that holds a node, and the node's index in it.
    struct Parent {
        const Json* holder;
        std::size_t index;
    };

    static std::string ScalarText(const Json* iNode)
    {
        return iNode == nullptr ? std::string() : mtt_runtime::ScalarText(*iNode);
    }

    // The object at iPath, or null with oProblem saying why (empty when an
    // earlier failure was already reported).
    const Json* Walk(std::string_view iPath, std::string& oProblem) const
    {
        if (_stack.empty()) {
            oProblem = "mtt_runtime: error: no model loaded\n";
            return nullptr;
        }
        const bool absolute = !iPath.empty() && iPath[0] == '/';
        const Json* object = absolute ? _stack.front().object : _stack.back().object;
        if (object == nullptr) return nullptr;  // already reported by Enter
        std::size_t start = absolute ? 1 : 0;
        if (start >= iPath.size()) return object;
        for (bool first = true;; first = false) {
            const std::size_t end = PathElement::End(iPath, start);
            const std::string_view text = iPath.substr(start, end - start);
            if (!(first && text == "this")) {
                object = Step(*object, PathElement::Parse(text));
                if (object == nullptr) {
                    oProblem = Message("no object at", iPath);
                    return nullptr;
                }
            }
            if (end == iPath.size()) return object;
            start = end + 1;
        }
    }

    const Json* WalkReporting(std::string_view iPath) const
    {
        std::string problem;
        const Json* object = Walk(iPath, problem);
        std::cerr << problem;
        return object;
    }

    const Json* Step(const Json& iObject, const PathElement& iElement) const
    {
        switch (iElement.GetKind()) {
        case PathElement::kParent: return Enclosing(iObject);
        case PathElement::kUserCode: return iObject.is_object() ? &JsonValues::UserCodeMember(iObject) : nullptr;
        default: return JsonValues::Child(iObject, iElement);
        }
    }

    // The nearest ancestor that is not an array; null for the root.
    const Json* Enclosing(const Json& iNode) const
    {
        const Parent* parent = ParentOf(&iNode);
        while (parent != nullptr && parent->holder->is_array()) parent = ParentOf(parent->holder);
        return parent == nullptr ? nullptr : parent->holder;
    }

    bool PositionOf(const Json* iNode, ListPosition& oPosition) const
    {
        for (auto frame = _stack.rbegin(); frame != _stack.rend(); ++frame) {
            if (frame->object == iNode && frame->list != nullptr) {
                oPosition = ListPosition{frame->index, frame->list->size()};
                return true;
            }
        }
        const Parent* parent = ParentOf(iNode);
        if (parent == nullptr || !parent->holder->is_array()) return false;
        oPosition = ListPosition{parent->index, parent->holder->size()};
        return true;
    }

    const Parent* ParentOf(const Json* iNode) const
    {
        if (!_parentsBuilt) BuildParents();
        auto found = _parents.find(iNode);
        return found == _parents.end() ? nullptr : &found->second;
    }

    // One pass over the whole document, with an explicit stack so that deep
    // documents cost heap, not call stack.
    void BuildParents() const
    {
        std::vector<const Json*> pending{&_document};
        while (!pending.empty()) {
            const Json* node = pending.back();
            pending.pop_back();
            if (node->is_array()) {
                for (std::size_t i = 0; i < node->size(); ++i) {
                    _parents.emplace(&(*node)[i], Parent{node, i});
                    pending.push_back(&(*node)[i]);
                }
            } else if (node->is_object()) {
                for (const auto& member : node->get_ref<const Json::object_t&>()) {
                    _parents.emplace(&member.second, Parent{node, 0});
                    pending.push_back(&member.second);
                }
            }
        }
        _parentsBuilt = true;
    }

    static std::string Message(const std::string& iWhat, std::string_view iPath)
    {
        return "mtt_runtime: error: " + iWhat + " path \"" + std::string(iPath) + "\"\n";
    }

    static void Report(const std::string& iWhat, std::string_view iPath) { std::cerr << Message(iWhat, iPath); }

    Json _document;
    std::vector<Frame> _stack;
    mutable std::unordered_map<const Json*, Parent> _parents;
    mutable bool _parentsBuilt = false;
    mutable ValueRefCache _refs;
};

}  // namespace mtt_runtime

#endif
