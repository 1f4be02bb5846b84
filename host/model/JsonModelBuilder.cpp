#include "JsonModelBuilder.h"

#include <algorithm>
#include <string>

#include "CarefulJsonEvents.h"
#include "JsonModelObject.h"

namespace {

// Beyond this many names a new shape is checked for repeats by sorting.
constexpr std::size_t kPairwiseNames = 16;

uint64_t HashOf(const uint32_t* iNames, std::size_t iCount)
{
    uint64_t hash = 0x9E3779B97F4A7C15ull ^ iCount;
    for (std::size_t i = 0; i < iCount; ++i) hash = (hash ^ iNames[i]) * 0x100000001B3ull;
    return hash;
}

bool Repeats(const uint32_t* iNames, std::size_t iCount)
{
    if (iCount <= kPairwiseNames) {
        for (std::size_t i = 1; i < iCount; ++i) {
            if (std::find(iNames, iNames + i, iNames[i]) != iNames + i) return true;
        }
        return false;
    }
    std::vector<uint32_t> sorted(iNames, iNames + iCount);
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

}  // namespace

JsonModelBuilder::JsonModelBuilder(JsonModel& ioModel, std::size_t iTextSize) : _model(ioModel), _texts(ioModel)
{
    // Every value takes at least two bytes of JSON text (one and a comma),
    // and texts take no more than the text: reserved, not yet touched.
    _model._kinds.reserve(iTextSize / 2 + 2);
    _model._values.reserve(iTextSize / 2 + 2);
    _model._texts.reserve(iTextSize + 16);
}

void JsonModelBuilder::Null()
{
    Add(JsonModel::kNull, 0);
}

void JsonModelBuilder::Boolean(bool iValue)
{
    Add(iValue ? JsonModel::kTrue : JsonModel::kFalse, 0);
}

void JsonModelBuilder::Number(std::string_view iText)
{
    NumberAt(_texts.Text(iText));
}

void JsonModelBuilder::String(std::string_view iText)
{
    StringAt(_texts.Text(iText));
}

// The name is compared with the one the expected shape has there, which
// this thread has at hand; a reader on another thread numbers names by
// what it met itself (JsonModelTexts::Key).
void JsonModelBuilder::Key(std::string_view iName)
{
    Frame& frame = _frames.back();
    const std::size_t at = _names.size() - frame.namesFrom;
    if (frame.asExpected && frame.expected != JsonModel::kNone) {
        const JsonModel::Shape& shape = _model.ShapeOf(frame.expected);
        if (at < shape.count) {
            const uint32_t name = _model.ShapeName(shape, static_cast<uint32_t>(at));
            if (JsonModel::SameText(_model.Name(name), iName)) {
                _names.push_back(name);
                return;
            }
        }
    }
    frame.asExpected = false;
    _names.push_back(_texts.NameNumber(iName));
}

void JsonModelBuilder::OpenArray()
{
    Open(false);
}

void JsonModelBuilder::OpenObject()
{
    Open(true);
}

void JsonModelBuilder::KeyNumbered(uint32_t iName)
{
    Frame& frame = _frames.back();
    if (frame.asExpected) {
        const std::size_t at = _names.size() - frame.namesFrom;
        frame.asExpected = frame.expected != JsonModel::kNone && at < _model.ShapeOf(frame.expected).count &&
                           _model.ShapeName(_model.ShapeOf(frame.expected), static_cast<uint32_t>(at)) == iName;
    }
    _names.push_back(iName);
}

void JsonModelBuilder::Open(bool iObject)
{
    const uint32_t parent = _frames.empty() ? JsonModel::kNone : _frames.back().container;
    const uint32_t expected = _frames.size() < _lastShapes.size() ? _lastShapes[_frames.size()] : JsonModel::kNone;
    const uint32_t number = static_cast<uint32_t>(_model._containers.size());
    _model._containers.emplace_back(parent);
    // Filled where it lies: a frame built aside and copied in whole stalls.
    Frame& frame = _frames.emplace_back();
    frame.container = number;
    frame.object = iObject;
    frame.valuesFrom = static_cast<uint32_t>(_values.size());
    frame.namesFrom = static_cast<uint32_t>(_names.size());
    frame.expected = expected;
    frame.asExpected = true;
}

bool JsonModelBuilder::Close()
{
    const Frame frame = _frames.back();
    JsonModelObject& container = _model._containers[frame.container];
    const uint32_t first = static_cast<uint32_t>(_model._kinds.size());
    container._first = first;
    if (frame.object) {
        const uint32_t shape = ShapeOf(frame);
        if (shape == JsonModel::kNone) return false;
        container._extent = shape;
        _names.resize(frame.namesFrom);
        const std::size_t depth = _frames.size() - 1;
        if (_lastShapes.size() <= depth) _lastShapes.resize(depth + 1, JsonModel::kNone);
        _lastShapes[depth] = shape;
    } else {
        container._extent = static_cast<uint32_t>(_values.size() - frame.valuesFrom);
    }
    for (std::size_t i = frame.valuesFrom; i < _values.size(); ++i) {
        if (JsonModel::IsContainer(static_cast<Kind>(_kinds[i]))) {
            _model._containers[_values[i]]._slot = static_cast<uint32_t>(first + (i - frame.valuesFrom));
        }
    }
    const std::size_t count = _values.size() - frame.valuesFrom;
    _model._kinds.Append(_kinds.data() + frame.valuesFrom, count);
    _model._values.Append(_values.data() + frame.valuesFrom, count);
    if (_model._values.size() >= JsonModel::kNone) _tooLarge = true;
    _kinds.resize(frame.valuesFrom);
    _values.resize(frame.valuesFrom);
    _frames.pop_back();
    Add(frame.object ? JsonModel::kObject : JsonModel::kArray, frame.container);
    return true;
}

uint32_t JsonModelBuilder::ShapeOf(const Frame& iFrame)
{
    const uint32_t* names = _names.data() + iFrame.namesFrom;
    const std::size_t count = _names.size() - iFrame.namesFrom;
    if (iFrame.asExpected && iFrame.expected != JsonModel::kNone && _model.ShapeOf(iFrame.expected).count == count) {
        return iFrame.expected;
    }
    const uint64_t hash = HashOf(names, count);
    for (auto candidates = _shapes.equal_range(hash); candidates.first != candidates.second; ++candidates.first) {
        const JsonModel::Shape& shape = _model.ShapeOf(candidates.first->second);
        if (shape.count == count && std::equal(names, names + count, _model._shapeNames.begin() + shape.first)) {
            return candidates.first->second;
        }
    }
    if (Repeats(names, count)) return JsonModel::kNone;
    const uint32_t number = static_cast<uint32_t>(_model._shapes.size());
    _model._shapes.push_back(
        JsonModel::Shape{static_cast<uint32_t>(_model._shapeNames.size()), static_cast<uint32_t>(count)});
    _model._shapeNames.insert(_model._shapeNames.end(), names, names + count);
    if (_model._shapeNames.size() >= JsonModel::kNone) _tooLarge = true;
    _shapes.emplace(hash, number);
    if (count > JsonModel::kFewMembers) {
        for (std::size_t i = 0; i < count; ++i) {
            _model._manyMembers.emplace(uint64_t(number) << 32 | names[i], static_cast<uint32_t>(i));
        }
    }
    return number;
}

void JsonModelBuilder::Add(Kind iKind, uint32_t iValue)
{
    if (!_frames.empty()) {
        _kinds.push_back(iKind);
        _values.push_back(iValue);
        return;
    }
    _model._root = static_cast<uint32_t>(_model._kinds.size());
    _model._kinds.push_back(iKind);
    _model._values.push_back(iValue);
    if (JsonModel::IsContainer(iKind)) _model._containers[iValue]._slot = _model._root;
    _rooted = true;
}

bool JsonModelBuilder::Finish()
{
    if (!_rooted || !_frames.empty() || _tooLarge || _texts.TooLarge()) return false;
    _model.ListPlainMembers();
    return true;
}

bool JsonModelBuilder::Parse(const std::string& iText)
{
    return CarefulJsonEvents::Hear(iText, *this) && Finish();
}
