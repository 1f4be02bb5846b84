#ifndef JSONMODELOBJECT_H
#define JSONMODELOBJECT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "MTLIModelObject.h"
#include "ObjectBlocks.h"

class JsonModel;
class JsonModelBuilder;
namespace mtt_runtime {
class Value;
class ValueRef;
struct ListPosition;
}  // namespace mtt_runtime

// One node of a JsonModel's document (see JsonModel for kinds, names and
// texts). It knows the array or object that holds it and its place there,
// from which Pointer rebuilds its JSON pointer and the loop positions and
// ".." are found. An array or object is a slot of the document and its
// values; it takes 24 bytes, as the document has one for each. Every one
// lives in the model's ObjectBlocks, which tell it its model.
//
// It also answers what the template parser hands the model for expressions
// (host/runtime/mtt_value_ref.h): a value "=EXPRESSION", a path element
// "?EXPRESSION" (this object when the expression is true on it) and, on a
// list, a path element "*SELECTION" (a view of the list: JsonModelView).
// A problem with them (a text where a number is needed, ...) is reported
// through the library, for the property that asked, and reads as the empty
// text or as nothing.
class JsonModelObject : public MTLIModelObject {
public:
    ~JsonModelObject() override;

    int GetKind() override;
    MTLIModelObject* GetProperty(const MTTString& iName) override;
    int GetSize() override;
    MTLIModelObject* GetElement(int iIndex) override;
    MTTString GetValue(const char* iName) override;

    // The array or object that holds it (a user-code text: its owner); null
    // for the root.
    const JsonModelObject* Parent() const;
    // The member name or element number that leads to it from Parent
    // ("UserCode" for a user-code text).
    std::string Token() const;
    // The same as a view: of the model's name, or of oDigits for an
    // element number.
    std::string_view Token(char (&oDigits)[16]) const;
    // Its RFC 6901 JSON pointer, from the tokens of its ancestors ("" for
    // the root).
    std::string Pointer() const;
    // iToken as a pointer writes it, after a '/' ("~" as "~0", "/" as "~1").
    static void AppendPointerToken(std::string& ioPointer, std::string_view iToken);
    bool IsArray() const;
    // The text of member iName when it is a string or a number (as
    // GetValue reads it); false for anything else.
    bool StringOrNumberMember(std::string_view iName, std::string& oText) const;
    // The same as a view of the model's text.
    bool StringOrNumberMember(std::string_view iName, std::string_view& oText) const;

    // What iRef reads on this object, with its kind; oProblem says what
    // went wrong with an expression.
    mtt_runtime::Value Read(const mtt_runtime::ValueRef& iRef, std::string& oProblem);

    // Made by JsonModel only, in its ObjectBlocks. An array or object of the
    // document, held by container iParent; its slot and values are set when
    // its holder is finished.
    explicit JsonModelObject(uint32_t iParent);
    // A scalar in iSlot, held by container iParent; with iUserCode, the
    // user-code text of the object iParent.
    JsonModelObject(uint32_t iSlot, uint32_t iParent, bool iUserCode);

protected:
    friend class JsonModel;
    friend class JsonModelBuilder;
    friend class JsonModelTexts;

    JsonModelObject(const JsonModelObject& iOther) = default;

    // The object that answers for this one: itself, or for a view (or an
    // element of a view) the list's own object (the element's).
    virtual JsonModelObject& Original() { return *this; }
    // Its place in the list that holds it; false when it is in none.
    virtual bool Position(mtt_runtime::ListPosition& oPosition) const;

private:
    class At;
    class Answers;

    static constexpr uint32_t kUserCode = UINT32_MAX;

    uint32_t Kind() const;
    // The slot of member iName of an object, or JsonModel::kNone.
    uint32_t MemberSlot(std::string_view iName) const;
    // Its container number (an array or object), from its slot.
    uint32_t Number() const;
    // The nearest ancestor that is not an array; null for the root.
    JsonModelObject* Enclosing() const;
    MTLIModelObject* Test(const mtt_runtime::ValueRef& iRef);
    MTLIModelObject* View(const std::string& iText, const mtt_runtime::ValueRef& iRef);
    static void Report(const std::string& iProblem);
    // Whether GetValue reads iName as a member's name: plain, and not the
    // user code.
    static bool PlainName(std::string_view iName);

    JsonModel& Model() const { return *static_cast<JsonModel*>(ObjectBlockOwner(this)); }

    uint32_t _slot;
    uint32_t _parent;  // container number, or JsonModel::kNone
    // An array's or object's values: the first slot, and the element count
    // or the shape. A scalar's _first is kUserCode for a user-code text.
    uint32_t _first;
    uint32_t _extent;
};

#endif
