#include "JsonModelObject.h"

#include <charconv>
#include <vector>

#include "JsonModel.h"
#include "JsonModelSelection.h"
#include "MTTIMessageObserver.h"
#include "mtt_expression.h"
#include "mtt_json_values.h"
#include "mtt_path_element.h"
#include "mtt_selection.h"
#include "mtt_value_ref.h"

using mtt_runtime::ListPosition;
using mtt_runtime::PathElement;
using mtt_runtime::Value;
using mtt_runtime::ValueRef;

// What an expression reads on an object: its path walked with GetProperty,
// as the library walks it, then the value read.
class JsonModelObject::At : public mtt_runtime::Expression::Context {
public:
    explicit At(JsonModelObject& iObject) : _object(iObject) {}

    bool Read(const mtt_runtime::Expression& iProperty, Value& oValue) override
    {
        MTLIModelObject* object = iProperty.IsRelative() ? &_object : _object.Model().Root();
        const std::vector<std::string>& path = iProperty.Path();
        for (size_t i = 0; i < path.size() && object != nullptr; ++i) {
            if (i == 0 && path[i] == "this") continue;
            object = object->GetProperty(MTTString(path[i].c_str()));
        }
        if (object == nullptr) return false;
        oValue = static_cast<JsonModelObject*>(object)->Read(iProperty.Ref(), problem);
        return true;
    }

    std::string problem;

private:
    JsonModelObject& _object;
};

// The object as mtt_runtime::JsonValues::ReadOf asks about a node.
class JsonModelObject::Answers {
public:
    explicit Answers(JsonModelObject& iObject) : _object(iObject), _model(iObject.Model()) {}

    bool IsObject() const { return _object.Kind() == JsonModel::kObject; }
    bool Member(std::string_view iName, Value& oValue) const
    {
        const uint32_t slot = _object.MemberSlot(iName);
        if (slot != JsonModel::kNone) oValue = ValueAt(slot);
        return slot != JsonModel::kNone;
    }
    Value Self() const { return ValueAt(_object._slot); }
    Value UserCode() const { return ValueAt(_model.UserCodeOf(_object.Original())->_slot); }
    bool Position(ListPosition& oPosition) const { return _object.Position(oPosition); }
    std::size_t Depth() const
    {
        std::size_t levels = 0;
        for (const JsonModelObject* object = _object.Enclosing(); object != nullptr; object = object->Enclosing()) {
            ++levels;
        }
        return levels;
    }

private:
    // As mtt_runtime::JsonValues::ValueOf gives it for the same node.
    Value ValueAt(uint32_t iSlot) const
    {
        switch (_model.KindAt(iSlot)) {
        case JsonModel::kString: return Value(Value::kText, std::string(_model.TextAt(iSlot)));
        case JsonModel::kNumber: return Value(Value::kNumber, std::string(_model.TextAt(iSlot)));
        case JsonModel::kFalse:
        case JsonModel::kTrue: return Value::Boolean(_model.KindAt(iSlot) == JsonModel::kTrue);
        case JsonModel::kArray:
            return Value(Value::kList, std::string(), _model.Container(_model._values[iSlot])._extent);
        case JsonModel::kObject: return Value(Value::kObject, std::string());
        default: return Value();
        }
    }

    JsonModelObject& _object;
    JsonModel& _model;
};

// A vtable pointer and four numbers: the document has one for each array
// and object.
static_assert(sizeof(JsonModelObject) == sizeof(void*) + 4 * sizeof(uint32_t), "a model object grew");

JsonModelObject::JsonModelObject(uint32_t iParent) : _slot(0), _parent(iParent), _first(0), _extent(0) {}

JsonModelObject::JsonModelObject(uint32_t iSlot, uint32_t iParent, bool iUserCode)
    : _slot(iSlot), _parent(iParent), _first(iUserCode ? kUserCode : 0), _extent(0)
{
}

JsonModelObject::~JsonModelObject() {}

uint32_t JsonModelObject::Kind() const
{
    return Model().KindAt(_slot);
}

uint32_t JsonModelObject::Number() const
{
    return Model()._values[_slot];
}

int JsonModelObject::GetKind()
{
    switch (Kind()) {
    case JsonModel::kArray: return 1;
    case JsonModel::kObject: return 0;
    default: return 2;
    }
}

// Plain names take the first branch after a scan of their bytes, with no
// copy of the name: this runs once per path element of every property.
MTLIModelObject* JsonModelObject::GetProperty(const MTTString& iName)
{
    const std::string_view text(iName.ConvertToChar(), iName.Length());
    const PathElement element = PathElement::Parse(text);
    switch (element.GetKind()) {
    case PathElement::kParent: return Original().Enclosing();
    case PathElement::kUserCode: return Kind() == JsonModel::kObject ? Model().UserCodeOf(Original()) : nullptr;
    case PathElement::kTest: return Test(Model().RefFor(text));
    case PathElement::kSelection: return Original().View(std::string(text), Model().RefFor(text));
    case PathElement::kIndex:
        if (Kind() == JsonModel::kArray) {
            return element.Index() < _extent
                       ? Model().ObjectAt(_first + static_cast<uint32_t>(element.Index()), Number())
                       : nullptr;
        }
        [[fallthrough]];
    case PathElement::kMember: {
        const uint32_t slot = MemberSlot(element.Name());
        return slot == JsonModel::kNone ? nullptr : Model().ObjectAt(slot, Number());
    }
    default: return nullptr;
    }
}

int JsonModelObject::GetSize()
{
    if (Kind() != JsonModel::kArray) return 0;
    return _extent > 0x7fffffffu ? 0x7fffffff : static_cast<int>(_extent);
}

MTLIModelObject* JsonModelObject::GetElement(int iIndex)
{
    if (Kind() != JsonModel::kArray || iIndex < 0 || static_cast<uint32_t>(iIndex) >= _extent) return nullptr;
    return Model().ObjectAt(_first + static_cast<uint32_t>(iIndex), Number());
}

// The fast path of every ${name}: a member found by its name as given, with
// no pass over the name to measure it or to tell whether it is plain (a
// member's name was told once, when the model was read).
MTTString JsonModelObject::GetValue(const char* iName)
{
    if (iName == nullptr) return Model().ScalarOf(_slot);
    if (Kind() == JsonModel::kObject) {
        const uint32_t at = Model().PlainMemberAt(_extent, iName);
        if (at != JsonModel::kNone) return Model().ScalarOf(_first + at);
    }
    // A plain name the object lacks (a member of that name would be
    // plain, and found) reads as nothing.
    if (PlainName(iName)) return MTTString();
    const std::string_view name(iName);
    std::string problem;
    const Value value = Read(Model().RefFor(name), problem);
    if (!problem.empty()) Report(problem);
    return MTTString(value.Str().c_str());
}

bool JsonModelObject::PlainName(std::string_view iName)
{
    return mtt_runtime::NameSyntax::IsPlain(iName) && iName != "UserCode";
}

Value JsonModelObject::Read(const ValueRef& iRef, std::string& oProblem)
{
    if (iRef.GetBase() == ValueRef::kComputed) {
        const mtt_runtime::Expression* expression = iRef.GetExpression();
        if (expression == nullptr) {
            oProblem = "malformed expression \"" + iRef.Name() + "\"";
            return Value();
        }
        At at(*this);
        Value value = expression->Evaluate(at, oProblem);
        if (oProblem.empty()) oProblem = at.problem;
        return value;
    }
    return mtt_runtime::JsonValues::ReadOf(iRef, Answers(*this));
}

bool JsonModelObject::Position(ListPosition& oPosition) const
{
    if (_parent == JsonModel::kNone) return false;
    const JsonModelObject& parent = Model().Container(_parent);
    if (parent.Kind() != JsonModel::kArray) return false;
    oPosition.index = _slot - parent._first;
    oPosition.count = parent._extent;
    return true;
}

MTLIModelObject* JsonModelObject::Test(const ValueRef& iRef)
{
    const mtt_runtime::Expression* test = iRef.GetExpression();
    std::string problem = test == nullptr ? "malformed expression \"" + iRef.Name() + "\"" : std::string();
    At at(*this);
    const bool holds = test != nullptr && test->Test(at, problem);
    if (problem.empty()) problem = at.problem;
    if (!problem.empty()) Report(problem);
    return holds ? this : nullptr;
}

MTLIModelObject* JsonModelObject::View(const std::string& iText, const ValueRef& iRef)
{
    // Not a list: the loop says so.
    if (Kind() != JsonModel::kArray) return this;
    JsonModel& model = Model();
    JsonModelView*& view = model._views[std::make_pair(_slot, iText)];
    if (view != nullptr) return view;
    view = &model._viewObjects.emplace_back(*this);

    const mtt_runtime::Selection* selection = iRef.GetSelection();
    std::string problem = selection == nullptr ? "malformed selection \"" + iRef.Name() + "\"" : std::string();
    std::vector<At> contexts;
    contexts.reserve(_extent);
    for (uint32_t i = 0; i < _extent; ++i) contexts.emplace_back(*Model().ObjectAt(_first + i, Number()));
    std::vector<size_t> kept;
    if (selection != nullptr) {
        kept = selection->Select(
            _extent, [&](size_t i) -> mtt_runtime::Expression::Context& { return contexts[i]; }, problem);
    }
    for (const At& at : contexts) {
        if (problem.empty()) problem = at.problem;
    }
    if (!problem.empty()) {
        Report(problem);
        kept.clear();
    }
    for (const size_t index : kept) {
        JsonModelObject& element = *model.ObjectAt(_first + static_cast<uint32_t>(index), Number());
        view->Add(model._viewElements.emplace_back(*view, element, view->Size()));
    }
    return view;
}

JsonModelObject* JsonModelObject::Enclosing() const
{
    uint32_t container = _parent;
    while (container != JsonModel::kNone && Model().Container(container).Kind() == JsonModel::kArray) {
        container = Model().Container(container)._parent;
    }
    return container == JsonModel::kNone ? nullptr : &Model().Container(container);
}

uint32_t JsonModelObject::MemberSlot(std::string_view iName) const
{
    if (Kind() != JsonModel::kObject) return JsonModel::kNone;
    const uint32_t at = Model().MemberAt(_extent, iName);
    return at == JsonModel::kNone ? JsonModel::kNone : _first + at;
}

void JsonModelObject::Report(const std::string& iProblem)
{
    MTTIMessageObserver::ReportFromModel(("ERROR: " + iProblem + ".\n").c_str());
}

const JsonModelObject* JsonModelObject::Parent() const
{
    return _parent == JsonModel::kNone ? nullptr : &Model().Container(_parent);
}

std::string JsonModelObject::Token() const
{
    char digits[16];
    return std::string(Token(digits));
}

std::string_view JsonModelObject::Token(char (&oDigits)[16]) const
{
    if (_parent == JsonModel::kNone) return std::string_view();
    if (_first == kUserCode && !JsonModel::IsContainer(Model().KindAt(_slot))) return "UserCode";
    const JsonModelObject& parent = Model().Container(_parent);
    const uint32_t at = _slot - parent._first;
    if (parent.Kind() == JsonModel::kArray) {
        return std::string_view(oDigits, static_cast<size_t>(std::to_chars(oDigits, oDigits + sizeof oDigits, at).ptr -
                                                             oDigits));
    }
    return Model().Name(Model().ShapeName(Model().ShapeOf(parent._extent), at));
}

std::string JsonModelObject::Pointer() const
{
    // Its ancestors, the root's child first, found without a text each.
    std::vector<const JsonModelObject*> path;
    path.reserve(8);
    for (const JsonModelObject* o = this; o->Parent() != nullptr; o = o->Parent()) path.push_back(o);
    std::string pointer;
    char digits[16];
    for (auto o = path.rbegin(); o != path.rend(); ++o) AppendPointerToken(pointer, (*o)->Token(digits));
    return pointer;
}

void JsonModelObject::AppendPointerToken(std::string& ioPointer, std::string_view iToken)
{
    ioPointer += '/';
    size_t done = 0;
    for (size_t i = 0; i < iToken.size(); ++i) {
        if (iToken[i] != '~' && iToken[i] != '/') continue;
        ioPointer.append(iToken.data() + done, i - done);
        ioPointer += iToken[i] == '~' ? "~0" : "~1";
        done = i + 1;
    }
    ioPointer.append(iToken.data() + done, iToken.size() - done);
}

bool JsonModelObject::IsArray() const
{
    return Kind() == JsonModel::kArray;
}

bool JsonModelObject::StringOrNumberMember(std::string_view iName, std::string& oText) const
{
    std::string_view text;
    if (!StringOrNumberMember(iName, text)) return false;
    oText = text;
    return true;
}

bool JsonModelObject::StringOrNumberMember(std::string_view iName, std::string_view& oText) const
{
    const uint32_t slot = MemberSlot(iName);
    if (slot == JsonModel::kNone) return false;
    const JsonModel::Kind kind = Model().KindAt(slot);
    if (kind != JsonModel::kString && kind != JsonModel::kNumber) return false;
    oText = Model().TextAt(slot);
    return true;
}

JsonModelView::JsonModelView(JsonModelObject& iList) : JsonModelObject(iList), _list(iList) {}

JsonModelView::~JsonModelView() {}

int JsonModelView::GetSize()
{
    return static_cast<int>(_elements.size());
}

MTLIModelObject* JsonModelView::GetElement(int iIndex)
{
    return iIndex >= 0 && static_cast<size_t>(iIndex) < _elements.size() ? _elements[iIndex] : nullptr;
}

void JsonModelView::Add(JsonModelViewElement& iElement)
{
    _elements.push_back(&iElement);
}

JsonModelViewElement::JsonModelViewElement(const JsonModelView& iView, JsonModelObject& iElement, std::size_t iIndex)
    : JsonModelObject(iElement), _view(iView), _element(iElement), _index(iIndex)
{
}

bool JsonModelViewElement::Position(ListPosition& oPosition) const
{
    oPosition.index = _index;
    oPosition.count = _view.Size();
    return true;
}
