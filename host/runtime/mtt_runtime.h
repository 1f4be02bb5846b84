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
// other loop values, transforms such as "name|snake", and "=" expressions),
// and a path is a list of path elements (mtt_path_element.h: members, quoted
// members, "..", indexes, and a last "?" test or "*" selection) separated by
// "/" outside quotes. A path that starts with "/"
// starts at the root, any other path at the current object; a first element
// "this" stands for the start object. A string reads as it is (cut at a
// \u0000), a number as JSON writes it, true/false, and null as the empty
// text; members that are missing or not scalars read as the empty text.
// "UserCode" of an object is its member of that name when that is a scalar,
// else the empty text. A path that leads nowhere is reported on std::cerr
// (by Value when its text is used) and reads as empty or as an empty list,
// so a broken model never stops the program.
//
// Loop values and ".." need to know which array and object hold a node: the
// current element's position comes from Enter (in the selection it was
// entered through); anything else from an index of the document's parents,
// built on first need only. An expression that cannot be evaluated (a text
// where a number is needed, ...) is reported on std::cerr like a path.
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
#include <utility>
#include <vector>

#include "mtt_json_builder.h"
#include "mtt_expression.h"
#include "mtt_json_values.h"
#include "mtt_path_element.h"
#include "mtt_selection.h"
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
        _selections.clear();
        if (!ParseJson(iText, iName, _document, oError)) return false;
        _stack.push_back(Frame{&_document, nullptr, 0, 0});
        return true;
    }

    Text Value(std::string_view iPath, std::string_view iRef) const
    {
        std::string problem;
        const Place place = Walk(iPath, problem);
        if (place.node == nullptr) return Text(std::string(), false, std::move(problem));
        if (NameSyntax::IsPlain(iRef) && iRef != "UserCode") return Text(ScalarText(Member(place.node, iRef)), true);
        mtt_runtime::Value value = Read(_refs.Get(iRef), place, problem);
        return Text(value.Take(), true, problem.empty() ? std::string() : Message(problem));
    }

    int Size(std::string_view iPath) const
    {
        const std::vector<std::size_t>* selected = nullptr;
        const Json* list = WalkList(iPath, selected);
        if (list == nullptr) return 0;
        const std::size_t size = selected != nullptr ? selected->size() : list->size();
        return size > 0x7fffffffu ? 0x7fffffff : static_cast<int>(size);
    }

    // Always pushes, a null object when the element is missing, so that
    // every Enter is undone by one Leave.
    void Enter(std::string_view iPath, int iIndex)
    {
        const std::vector<std::size_t>* selected = nullptr;
        const Json* list = WalkList(iPath, selected);
        Frame frame{nullptr, nullptr, 0, 0};
        const std::size_t count = list == nullptr ? 0 : selected != nullptr ? selected->size() : list->size();
        if (list != nullptr && iIndex >= 0 && static_cast<std::size_t>(iIndex) < count) {
            const std::size_t at = static_cast<std::size_t>(iIndex);
            frame = Frame{&(*list)[selected != nullptr ? (*selected)[at] : at], list, at, count};
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
    // A current object; for an entered element also its list, and its index
    // and the count of elements in the list or selection it was entered in.
    struct Frame {
        const Json* object;
        const Json* list;
        std::size_t index;
        std::size_t count;
    };
    // The array or object that holds a node, and the node's index in it.
    struct Parent {
        const Json* holder;
        std::size_t index;
    };
    // A node that a path reached; current: the current object itself, so
    // that its loop values are those of the loop that entered it.
    struct Place {
        const Json* node;
        bool current;
    };

    // What an expression reads on a place.
    class At : public Expression::Context {
    public:
        At(const Model& iModel, Place iPlace) : _model(iModel), _place(iPlace) {}

        bool Read(const Expression& iProperty, mtt_runtime::Value& oValue) override
        {
            Place place = iProperty.IsRelative() ? _place : Place{&_model._document, false};
            for (std::size_t i = 0; i < iProperty.Path().size() && place.node != nullptr; ++i) {
                const std::string& element = iProperty.Path()[i];
                if (i == 0 && element == "this") continue;
                place = Place{_model.Step(*place.node, PathElement::Parse(element), place, _problem), false};
            }
            if (place.node == nullptr) return false;
            oValue = _model.Read(iProperty.Ref(), place, _problem);
            return true;
        }

        // A problem of a test inside a path, for the expression's caller.
        std::string _problem;

    private:
        const Model& _model;
        Place _place;
    };

    static std::string ScalarText(const Json* iNode)
    {
        return iNode == nullptr ? std::string() : mtt_runtime::ScalarText(*iNode);
    }

    mtt_runtime::Value Read(const ValueRef& iRef, Place iPlace, std::string& oProblem) const
    {
        if (iRef.GetBase() == ValueRef::kComputed) {
            At at(*this, iPlace);
            const Expression* expression = iRef.GetExpression();
            if (expression == nullptr) oProblem = "malformed expression \"" + iRef.Name() + "\"";
            mtt_runtime::Value value =
                expression != nullptr ? expression->Evaluate(at, oProblem) : mtt_runtime::Value();
            if (oProblem.empty()) oProblem = at._problem;
            return value;
        }
        auto position = [&](ListPosition& oPosition) { return PositionOf(iPlace, oPosition); };
        auto depth = [&]() { return DepthOf(iPlace.node); };
        auto userCode = [&]() -> const Json& { return JsonValues::UserCodeMember(*iPlace.node); };
        return JsonValues::Read(iRef, *iPlace.node, position, depth, userCode);
    }

    // The place at iPath, or a null node with oProblem saying why (empty
    // when an earlier failure was already reported).
    Place Walk(std::string_view iPath, std::string& oProblem) const
    {
        if (_stack.empty()) {
            oProblem = "mtt_runtime: error: no model loaded\n";
            return Place{nullptr, false};
        }
        const bool absolute = !iPath.empty() && iPath[0] == '/';
        Place place{absolute ? _stack.front().object : _stack.back().object, !absolute};
        if (place.node == nullptr) return place;  // already reported by Enter
        std::size_t start = absolute ? 1 : 0;
        if (start >= iPath.size()) return place;
        for (bool first = true;; first = false) {
            const std::size_t end = PathElement::End(iPath, start);
            const std::string_view text = iPath.substr(start, end - start);
            if (!(first && text == "this")) {
                std::string problem;
                const PathElement element = PathElement::Parse(text);
                place = Place{Step(*place.node, element, place, problem), false};
                if (!problem.empty()) std::cerr << Message(problem);
                if (place.node == nullptr) {
                    // A test that fails reaches nothing, as it should.
                    if (element.GetKind() != PathElement::kTest)
                        oProblem = Message("no object at path \"" + std::string(iPath) + "\"");
                    return place;
                }
            }
            if (end == iPath.size()) return place;
            start = end + 1;
        }
    }

    const Json* WalkReporting(std::string_view iPath) const
    {
        std::string problem;
        const Place place = Walk(iPath, problem);
        std::cerr << problem;
        return place.node;
    }

    // The list at iPath, reported when there is none; with a last "*"
    // element, the list before it and, in oSelected, the selection.
    const Json* WalkList(std::string_view iPath, const std::vector<std::size_t>*& oSelected) const
    {
        std::size_t last = 0;
        for (std::size_t start = !iPath.empty() && iPath[0] == '/' ? 1 : 0; start < iPath.size();) {
            last = start;
            start = PathElement::End(iPath, start) + 1;
        }
        const bool selects = last < iPath.size() && iPath[last] == '*';
        const std::string_view listPath = selects ? iPath.substr(0, last > 1 ? last - 1 : last) : iPath;
        const Json* list = WalkReporting(listPath);
        if (list == nullptr) return nullptr;
        if (!list->is_array()) {
            Report("no list at", iPath);
            return nullptr;
        }
        if (selects) oSelected = &Selected(*list, _refs.Get(iPath.substr(last)));
        return list;
    }

    // The elements of iList that a selection keeps, computed once.
    const std::vector<std::size_t>& Selected(const Json& iList, const ValueRef& iRef) const
    {
        const Selection* selection = iRef.GetSelection();
        auto found = _selections.find(std::make_pair(&iList, selection));
        if (found != _selections.end()) return found->second;
        std::string problem;
        std::vector<std::size_t> kept;
        if (selection == nullptr) {
            problem = "malformed selection \"" + iRef.Name() + "\"";
        } else {
            std::vector<At> contexts;
            contexts.reserve(iList.size());
            for (std::size_t i = 0; i < iList.size(); ++i) contexts.emplace_back(*this, Place{&iList[i], false});
            kept = selection->Select(
                iList.size(), [&](std::size_t i) -> Expression::Context& { return contexts[i]; }, problem);
            for (const At& at : contexts) {
                if (problem.empty()) problem = at._problem;
            }
        }
        if (!problem.empty()) std::cerr << Message(problem);
        return _selections.emplace(std::make_pair(&iList, selection), std::move(kept)).first->second;
    }

    const Json* Step(const Json& iObject, const PathElement& iElement, Place iFrom, std::string& oProblem) const
    {
        switch (iElement.GetKind()) {
        case PathElement::kParent: return Enclosing(iObject);
        case PathElement::kUserCode: return iObject.is_object() ? &JsonValues::UserCodeMember(iObject) : nullptr;
        case PathElement::kTest: {
            const ValueRef& ref = _refs.Get(iElement.Name());
            At at(*this, iFrom);
            const Expression* test = ref.GetExpression();
            if (test == nullptr) oProblem = "malformed expression \"" + ref.Name() + "\"";
            const bool holds = test != nullptr && test->Test(at, oProblem);
            if (oProblem.empty()) oProblem = at._problem;
            return holds ? &iObject : nullptr;
        }
        case PathElement::kSelection: return nullptr;  // only as the last element of a loop's path
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

    std::size_t DepthOf(const Json* iNode) const
    {
        std::size_t depth = 0;
        for (const Json* node = Enclosing(*iNode); node != nullptr; node = Enclosing(*node)) ++depth;
        return depth;
    }

    bool PositionOf(Place iPlace, ListPosition& oPosition) const
    {
        const Frame& top = _stack.back();
        if (iPlace.current && top.object == iPlace.node && top.list != nullptr) {
            oPosition = ListPosition{top.index, top.count};
            return true;
        }
        const Parent* parent = ParentOf(iPlace.node);
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

    static std::string Message(const std::string& iWhat) { return "mtt_runtime: error: " + iWhat + "\n"; }

    static std::string Message(const std::string& iWhat, std::string_view iPath)
    {
        return Message(iWhat + " path \"" + std::string(iPath) + "\"");
    }

    static void Report(const std::string& iWhat, std::string_view iPath) { std::cerr << Message(iWhat, iPath); }

    struct PairHash {
        std::size_t operator()(const std::pair<const Json*, const Selection*>& iKey) const
        {
            return std::hash<const void*>()(iKey.first) * 31 + std::hash<const void*>()(iKey.second);
        }
    };

    Json _document;
    std::vector<Frame> _stack;
    mutable std::unordered_map<const Json*, Parent> _parents;
    mutable bool _parentsBuilt = false;
    mutable ValueRefCache _refs;
    mutable std::unordered_map<std::pair<const Json*, const Selection*>, std::vector<std::size_t>, PairHash>
        _selections;
};

}  // namespace mtt_runtime

#endif
