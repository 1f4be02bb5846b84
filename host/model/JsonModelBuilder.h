#ifndef JSONMODELBUILDER_H
#define JSONMODELBUILDER_H

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "JsonModel.h"
#include "JsonModelTexts.h"
#include "JsonTextEvents.h"

// Fills a JsonModel's document from its values in document order, as a
// reader meets them: a value, or an array or object opened, its values
// (each member's after its Key), and closed. Texts and names go to its
// JsonModelTexts; a reader that put them there itself, on another thread,
// gives their numbers instead (KeyNumbered, StringAt, NumberAt).
//
// The values of an array or object must be consecutive slots, but a reader
// meets those of nested ones in between: they wait on a stack and go to the
// document when their holder closes. An object whose names are those of
// the last object at its depth (the usual list of records) takes its shape
// with a comparison per name, any other looks its shape up by its names. A
// new shape is checked for a name given twice.
class JsonModelBuilder final : public JsonTextEvents {
public:
    // iTextSize: the size of the text read, to reserve space by.
    JsonModelBuilder(JsonModel& ioModel, std::size_t iTextSize);

    void Null() override;
    void Boolean(bool iValue) override;
    // The number as ScalarText writes it.
    void Number(std::string_view iText) override;
    void String(std::string_view iText) override;
    // The name of the next value of the open object.
    void Key(std::string_view iName) override;
    void OpenArray() override;
    void OpenObject() override;
    // False when the object closed gives a member name twice.
    bool Close() override;
    // After the root value: false when the document is larger than the
    // model can hold.
    bool Finish();

    // The whole of a text the careful reader of mtt_json_builder.h takes,
    // as its parser reports it (without recursion), then Finish.
    bool Parse(const std::string& iText);

    // The same values with their texts and names already in Texts(), by
    // offset and number.
    JsonModelTexts& Texts() { return _texts; }
    void KeyNumbered(uint32_t iName);
    void StringAt(uint32_t iText) { Add(JsonModel::kString, iText); }
    void NumberAt(uint32_t iText) { Add(JsonModel::kNumber, iText); }

private:
    using Kind = JsonModel::Kind;

    struct Frame {
        uint32_t container;
        bool object;
        uint32_t valuesFrom;  // in _values
        uint32_t namesFrom;   // in _names
        // An object: the shape its names are expected to follow, and
        // whether they did so far.
        uint32_t expected;
        bool asExpected;
    };

    void Add(Kind iKind, uint32_t iValue);
    void Open(bool iObject);
    // The shape of the names of the object in iFrame, made when new; kNone
    // when a name is given twice.
    uint32_t ShapeOf(const Frame& iFrame);

    JsonModel& _model;
    JsonModelTexts _texts;
    std::vector<Frame> _frames;
    // Values waiting for their holder to close, and member names.
    std::vector<uint8_t> _kinds;
    std::vector<uint32_t> _values;
    std::vector<uint32_t> _names;
    // The shape of the last object closed at each depth: the next one at
    // that depth is expected to have it, in the same list or the next.
    std::vector<uint32_t> _lastShapes;
    // Shapes by a hash of their names.
    std::unordered_multimap<uint64_t, uint32_t> _shapes;
    bool _rooted = false;
    bool _tooLarge = false;
};

#endif
