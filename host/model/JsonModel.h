#ifndef JSONMODEL_H
#define JSONMODEL_H

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "JsonModelObject.h"
#include "JsonModelSelection.h"
#include "GrowingArray.h"
#include "ObjectBlocks.h"
#include "MTTString.h"

class MTLIModelObject;
class JsonEventPipe;
class JsonModelBuilder;
namespace mtt_runtime {
class ValueRef;
class ValueRefCache;
}  // namespace mtt_runtime

// A JSON document seen as a template model.
//
// Every JSON node is one model object:
//   - an array is a list (kind 1): GetSize, and GetElement counted from 0
//     (null out of range);
//   - a string, number, boolean or null is a scalar (kind 2) whose own text
//     (GetValue(nullptr)) is the string as it is (a string holding a \u0000
//     is refused when loading), the number as JSON writes it (3, -2, 1.5, 10000000000.0, 1e+20), "true" or
//     "false", and the empty text for null;
//   - an object is neither (kind 0).
// GetProperty takes one path element (host/runtime/mtt_path_element.h): a
// member of an object, ".." (the enclosing object), an index of an array,
// or "UserCode" of an object, which is never null (see SetUserCodeSource);
// anything else, or what is missing, is null. GetValue(name) takes a value
// reference (host/runtime/mtt_value_ref.h): the text of a scalar member, "."
// for the object's own text, "@index" and the other loop positions, with
// transforms; what is missing or not scalar reads as the empty text.
// GetValue(nullptr) is the object's own text (empty for a non-scalar). The
// generated code's runtime (host/runtime/mtt_runtime.h) answers the same
// names with the same texts.
//
// The document is kept compactly: every value is a slot (a kind and 32 bits:
// a text's place among the texts, or an array's or object's number); the
// values of an array or object are consecutive slots; objects with the same
// member names in the same order share one list of names (a shape). Arrays
// and objects are model objects from the start, kept at fixed addresses; a
// scalar gets an object when a path reaches it. All live as long as the
// JsonModel. JSON text is read in one pass by JsonTextReader, a file in
// chunks; what it refuses is read again by the reader of
// mtt_json_builder.h, which words the error (or reads what only it takes:
// nesting deeper than 1,000, integers beyond 64 bits).
// Nesting depth has no limit of its own (a YAML text has one, see
// YamlReader). A document holds less than 4 GiB of texts.
class JsonModel {
public:
    // What PointerOf answers for an object this model did not hand out; a
    // JSON pointer is either empty or begins with "/", so it cannot clash.
    static const char* const kUnknownPointer;

    // Null on failure, with oError = "FILE:LINE:COLUMN: error: <what>" (no
    // line end); a file that cannot be read gives "FILE: error: cannot open: <reason>".
    static std::unique_ptr<JsonModel> LoadFile(const std::string& iPath, std::string& oError);
    static std::unique_ptr<JsonModel> FromText(const std::string& iText, const std::string& iName, std::string& oError);
    // The same document written in YAML (YamlReader says how it maps to JSON).
    static std::unique_ptr<JsonModel> LoadYamlFile(const std::string& iPath, std::string& oError);
    static std::unique_ptr<JsonModel> FromYamlText(const std::string& iText, const std::string& iName,
                                                   std::string& oError);

    // Gives the user code of an owner object: true with oText to use oText.
    using UserCodeSource = std::function<bool(const JsonModelObject& iOwner, std::string& oText)>;

    ~JsonModel();
    JsonModel(const JsonModel&) = delete;
    JsonModel& operator=(const JsonModel&) = delete;

    // Lives as long as this model.
    MTLIModelObject* Root();

    // RFC 6901 pointer of an object handed out by this model ("" for the
    // root, "/classes/0/name"; "~" and "/" in names become "~0" and "~1"),
    // or kUnknownPointer.
    std::string PointerOf(const MTLIModelObject* iObject) const;
    // What a slot holds. Scalars before containers.
    enum Kind : uint8_t { kNull, kFalse, kTrue, kNumber, kString, kArray, kObject };
    // Visit's name for a value that is no member (an element, the root).
    static constexpr uint32_t kNoName = UINT32_MAX;
    // The document's values in document order, without recursion, and
    // calls made straight to the visitor rather than through an interface
    // (the page's view of a large model takes a million):
    //   ioVisitor.Value(slot, name, kind, text): a value, with its member
    //     name's number (MemberName) or kNoName, and a string's or number's
    //     text (numbers as the model writes them);
    //   ioVisitor.Close(): the array or object opened last ends.
    // It may run on another thread while the model is evaluated: an
    // evaluation adds values (the user-code texts) only while no Visit runs.
    template <class Visitor>
    void Visit(Visitor& ioVisitor) const;
    // The text of a member name as Visit numbers it.
    std::string_view MemberName(uint32_t iName) const { return Name(iName); }
    // How many values the model holds: those of the document, which Visit
    // tells, and the user-code texts made since (read under the lock that
    // an evaluation adds them under: the page's view of the model asks on
    // its own thread while the template is rendered).
    size_t SlotCount() const
    {
        const std::lock_guard<std::mutex> adding(_adding);
        return _kinds.size();
    }
    // The slot of an object handed out by this model for a value of the
    // document, kNone for any other (another model's, a user-code text, a
    // selection). Slots are numbered from 0 up to the document's size.
    uint32_t DocumentSlotOf(const MTLIModelObject* iObject) const;

    // What GetProperty("UserCode") answers on an object: the text iSource
    // gives for it, else its own "UserCode" member when that is a scalar,
    // else the empty text. Optional; set it before the first evaluation: an
    // object keeps the answer it gave first.
    void SetUserCodeSource(UserCodeSource iSource);

private:
    friend class JsonModelBuilder;
    friend class JsonModelTexts;
    friend class JsonModelObject;

    static constexpr uint32_t kNone = UINT32_MAX;
    // Shapes of more members find one by a table rather than by a search.
    static constexpr uint32_t kFewMembers = 8;

    // Member names in order, shared by the objects that have them.
    struct Shape {
        uint32_t first;  // in _shapeNames and _plainMembers
        uint32_t count;
    };

    JsonModel();

    // A file read by a one-pass reader as it is read: into the builder
    // (iStream), or a large file on another thread (iEvents, through a
    // JsonEventPipe; its reader also numbers texts and names when
    // iReaderNumbers); iWhole reads a text that could not be read so (a
    // pipe), iDeclined one the first reader declined.
    using StreamReader = bool (*)(std::FILE* iFile, JsonModelBuilder& ioBuilder);
    using EventReader = bool (*)(std::FILE* iFile, JsonEventPipe& ioPipe);
    using TextReader = std::unique_ptr<JsonModel> (*)(const std::string& iText, const std::string& iName,
                                                      std::string& oError);
    static std::unique_ptr<JsonModel> LoadWith(const std::string& iPath, StreamReader iStream, EventReader iEvents,
                                               bool iReaderNumbers, TextReader iWhole, TextReader iDeclined,
                                               std::string& oError);
    // A text the one-pass reader declined: JSON by the careful reader,
    // YAML by the general one.
    static std::unique_ptr<JsonModel> Carefully(const std::string& iText, const std::string& iName,
                                                std::string& oError);
    static std::unique_ptr<JsonModel> Generally(const std::string& iText, const std::string& iName,
                                                std::string& oError);

    Kind KindAt(uint32_t iSlot) const { return static_cast<Kind>(_kinds[iSlot]); }
    static bool IsContainer(Kind iKind) { return iKind >= kArray; }
    // The text of a string or number slot; the text that AddText put at
    // iOffset.
    std::string_view TextAt(uint32_t iSlot) const { return TextFrom(_values[iSlot]); }
    // Inline for a length of one byte (below 128), the usual one.
    std::string_view TextFrom(uint32_t iOffset) const
    {
        const char* text = _texts.data() + iOffset;
        const unsigned char first = static_cast<unsigned char>(*text);
        if (first < 0x80) return std::string_view(text + 1, first);
        return LongTextFrom(text);
    }
    uint32_t AddText(std::string_view iText);
    std::string_view Name(uint32_t iName) const { return _nameTexts[iName]; }
    // Whether two texts are the same; those of up to 16 bytes (most names
    // and short values) are compared in words, without a call.
    static bool SameText(std::string_view iLeft, std::string_view iRight)
    {
        const std::size_t size = iLeft.size();
        if (size != iRight.size()) return false;
        const char* left = iLeft.data();
        const char* right = iRight.data();
        if (size >= 8) {
            if (size > 16) return std::memcmp(left, right, size) == 0;
            return Word<uint64_t>(left) == Word<uint64_t>(right) &&
                   Word<uint64_t>(left + size - 8) == Word<uint64_t>(right + size - 8);
        }
        if (size >= 4) {
            return Word<uint32_t>(left) == Word<uint32_t>(right) &&
                   Word<uint32_t>(left + size - 4) == Word<uint32_t>(right + size - 4);
        }
        for (std::size_t i = 0; i < size; ++i) {
            if (left[i] != right[i]) return false;
        }
        return true;
    }
    template <class Unsigned>
    static Unsigned Word(const char* iBytes)
    {
        Unsigned word;
        std::memcpy(&word, iBytes, sizeof word);
        return word;
    }
    // A length of more than one byte.
    static std::string_view LongTextFrom(const char* iText);
    const Shape& ShapeOf(uint32_t iShape) const { return _shapes[iShape]; }
    uint32_t ShapeName(const Shape& iShape, uint32_t iAt) const { return _shapeNames[iShape.first + iAt]; }
    // The place of member iName in a shape, or kNone.
    uint32_t MemberAt(uint32_t iShape, std::string_view iName) const;
    // The place of member iName in a shape when GetValue reads iName as a
    // member's name (JsonModelObject::PlainName), or kNone. Inline: the
    // fast path of every ${name}.
    uint32_t PlainMemberAt(uint32_t iShape, const char* iName) const
    {
        const Shape& shape = _shapes[iShape];
        if (shape.count > kFewMembers) {
            const uint32_t at = MemberAt(iShape, std::string_view(iName));
            return at != kNone && _plainMembers[shape.first + at] != nullptr ? at : kNone;
        }
        const char* const* names = _plainMembers.data() + shape.first;
        for (uint32_t i = 0; i < shape.count; ++i) {
            // Compared byte by byte up to the NUL that ends both (a member
            // name holds none). Most names differ at the first byte.
            const char* name = names[i];
            if (name == nullptr) continue;
            std::size_t same = 0;
            while (name[same] != '\0' && iName[same] == name[same]) ++same;
            if (iName[same] == name[same]) return i;
        }
        return kNone;
    }
    // Fills _plainMembers, once the document is read (the names may be
    // numbered on another thread until then).
    void ListPlainMembers();
    // The text GetValue gives for the value in iSlot. Texts are copied
    // once, straight from the document.
    MTTString ScalarOf(uint32_t iSlot) const
    {
        const Kind kind = KindAt(iSlot);
        if (kind == kString || kind == kNumber) {
            const std::string_view text = TextAt(iSlot);
            return MTTString(text.data(), text.size());
        }
        return kind == kTrue ? MTTString("true") : kind == kFalse ? MTTString("false") : MTTString();
    }

    JsonModelObject& Container(uint32_t iContainer) { return _containers[iContainer]; }
    const JsonModelObject& Container(uint32_t iContainer) const { return _containers[iContainer]; }
    // The object for the value in iSlot, held by container iParent (kNone
    // for the root); made on first request for a scalar.
    JsonModelObject* ObjectAt(uint32_t iSlot, uint32_t iParent);
    // The scalar that answers "UserCode" on the object iOwner; made once.
    JsonModelObject* UserCodeOf(JsonModelObject& iOwner);
    // iText parsed as a value reference; parsed once.
    const mtt_runtime::ValueRef& RefFor(std::string_view iText);

    // Held by Visit, and by an evaluation while it adds slots and texts.
    mutable std::mutex _adding;
    // Slots: a kind and a 32-bit value each.
    GrowingArray<uint8_t> _kinds;
    GrowingArray<uint32_t> _values;
    // Texts of strings and numbers: a length (7 bits a byte, low first),
    // then the bytes. With the names, on cache lines of their own: a large
    // model's reader writes them on its thread (JsonModelTexts) while the
    // builder writes the slots and shapes.
    alignas(64) GrowingArray<char> _texts;
    // Member names by number (kept in _names), their numbers by name, and
    // shapes.
    std::deque<std::string> _names;
    std::vector<std::string_view> _nameTexts;
    std::unordered_map<std::string_view, uint32_t> _nameNumbers;
    // By name number: whether JsonModelObject::PlainName holds.
    std::vector<uint8_t> _plainNames;
    alignas(64) std::vector<uint32_t> _shapeNames;
    std::vector<Shape> _shapes;
    // As _shapeNames, each name's own bytes (ending at a NUL) side by side
    // with its shape's others, where no table of names lies between a
    // lookup and them; null for a name GetValue does not read as a
    // member's.
    std::vector<const char*> _plainMembers;
    // Where each member of a shape of many members is, by shape and name.
    std::unordered_map<uint64_t, uint32_t> _manyMembers;
    // Arrays and objects, numbered in document order (the root first).
    ObjectBlocks<JsonModelObject> _containers;
    uint32_t _root = 0;  // the root's slot

    // Objects made on request: scalars a path reached and user-code texts
    // (kept by slot and by owner), views of lists by slot and selection,
    // and their elements.
    ObjectBlocks<JsonModelObject> _madeObjects;
    std::unordered_map<uint32_t, JsonModelObject*> _scalars;
    UserCodeSource _userCodeSource;
    std::unordered_map<const JsonModelObject*, JsonModelObject*> _userCode;
    ObjectBlocks<JsonModelView> _viewObjects;
    ObjectBlocks<JsonModelViewElement> _viewElements;
    std::map<std::pair<uint32_t, std::string>, JsonModelView*> _views;
    std::unique_ptr<mtt_runtime::ValueRefCache> _refs;
};

template <class Visitor>
void JsonModel::Visit(Visitor& ioVisitor) const
{
    // A container being told: its values' slots, and its shape's names
    // (null for an array).
    struct Open {
        uint32_t first;
        uint32_t count;
        const uint32_t* names;
        uint32_t next;
    };
    const std::lock_guard<std::mutex> adding(_adding);
    std::vector<Open> open;
    const auto tell = [&](uint32_t iSlot, uint32_t iName) {
        const Kind kind = KindAt(iSlot);
        if (!IsContainer(kind)) {
            ioVisitor.Value(iSlot, iName, kind,
                            kind == kString || kind == kNumber ? TextAt(iSlot) : std::string_view());
            return;
        }
        ioVisitor.Value(iSlot, iName, kind, std::string_view());
        const JsonModelObject& container = _containers[_values[iSlot]];
        if (kind == kArray) {
            open.push_back(Open{container._first, container._extent, nullptr, 0});
        } else {
            const Shape& shape = ShapeOf(container._extent);
            open.push_back(Open{container._first, shape.count, _shapeNames.data() + shape.first, 0});
        }
    };
    tell(_root, kNoName);
    while (!open.empty()) {
        Open& top = open.back();
        if (top.next == top.count) {
            open.pop_back();
            ioVisitor.Close();
            continue;
        }
        const uint32_t at = top.next++;
        // top may move as tell opens a container.
        tell(top.first + at, top.names != nullptr ? top.names[at] : kNoName);
    }
}

#endif
