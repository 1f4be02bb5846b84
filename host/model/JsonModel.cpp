#include "JsonModel.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <typeinfo>
#include <utility>

#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include "JsonEventPipe.h"
#include "JsonModelBuilder.h"
#include "JsonModelSelection.h"
#include "JsonTextReader.h"
#include "ShortCopy.h"
#include "TextWindow.h"
#include "YamlBlockReader.h"
#include "YamlReader.h"
#include "mtt_json_builder.h"
#include "mtt_value_ref_cache.h"

const char* const JsonModel::kUnknownPointer = "<unknown>";

namespace {

const char kTooLarge[] = ": error: the model is too large (it may hold 4 GiB of texts)";

// A file of more than this is parsed on another thread while the model is
// built from what it holds (JsonEventPipe); for less, a thread costs about
// what it saves.
const off_t kBesideBytes = 256 * 1024;

}  // namespace

JsonModel::JsonModel()
    : _containers(this),
      _madeObjects(this),
      _viewObjects(this),
      _viewElements(this),
      _refs(new mtt_runtime::ValueRefCache())
{
}

JsonModel::~JsonModel() {}

// A regular file is read in chunks as it is parsed, so that its text is
// never held whole beside the model; it is read again, whole, only for the
// reader that words errors. A pipe or device cannot be read twice: it is
// read whole first.
std::unique_ptr<JsonModel> JsonModel::LoadWith(const std::string& iPath, StreamReader iStream, EventReader iEvents,
                                               bool iReaderNumbers, TextReader iWhole, TextReader iDeclined,
                                               std::string& oError)
{
    std::FILE* file = std::fopen(iPath.c_str(), "rb");
    if (file == nullptr) {
        oError = iPath + ": error: cannot open: " + std::strerror(errno);
        return nullptr;
    }
    struct stat status;
    const bool regular = fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode);
    if (regular) {
        std::unique_ptr<JsonModel> model(new JsonModel());
        JsonModelBuilder builder(*model, static_cast<std::size_t>(status.st_size));
        const auto alone = [file, iStream, &builder] { return iStream(file, builder); };
        const auto beside = [file, iEvents](JsonEventPipe& ioPipe) { return iEvents(file, ioPipe); };
        const auto texts =
            iReaderNumbers ? JsonEventPipe::Texts::kNumberedByReader : JsonEventPipe::Texts::kSentToBuilder;
        const bool read =
            (status.st_size > kBesideBytes ? JsonEventPipe::Read(beside, builder, alone, texts) : alone()) &&
            builder.Finish();
        std::fclose(file);
        if (read) return model;
    } else {
        std::fclose(file);
    }
    std::string text;
    if (!mtt_runtime::ReadFile(iPath, text, oError)) return nullptr;
    return (regular ? iDeclined : iWhole)(text, iPath, oError);
}

// JSON's reader is the lighter side of a pipe: it numbers the texts too.
std::unique_ptr<JsonModel> JsonModel::LoadFile(const std::string& iPath, std::string& oError)
{
    return LoadWith(
        iPath, [](std::FILE* iFile, JsonModelBuilder& ioBuilder) { return JsonTextReader::Read(iFile, ioBuilder); },
        [](std::FILE* iFile, JsonEventPipe& ioPipe) { return JsonTextReader::Read(iFile, ioPipe); }, true, FromText,
        Carefully, oError);
}

// YAML's reader is the heavier: it finds what its plain scalars are, and
// sends the texts for the builder's side to keep.
std::unique_ptr<JsonModel> JsonModel::LoadYamlFile(const std::string& iPath, std::string& oError)
{
    return LoadWith(
        iPath,
        [](std::FILE* iFile, JsonModelBuilder& ioBuilder) {
            return YamlBlockReader::Read(iFile, ioBuilder, TextWindow::kChunk);
        },
        [](std::FILE* iFile, JsonEventPipe& ioPipe) {
            return YamlBlockReader::Read(iFile, ioPipe, TextWindow::kChunk);
        },
        false, FromYamlText, Generally, oError);
}

std::unique_ptr<JsonModel> JsonModel::FromText(const std::string& iText, const std::string& iName, std::string& oError)
{
    std::unique_ptr<JsonModel> model(new JsonModel());
    JsonModelBuilder builder(*model, iText.size());
    if (JsonTextReader::Read(iText.data(), iText.size(), builder) && builder.Finish()) return model;
    return Carefully(iText, iName, oError);
}

// The careful reader says what is wrong, or reads what only it takes.
std::unique_ptr<JsonModel> JsonModel::Carefully(const std::string& iText, const std::string& iName, std::string& oError)
{
    {
        nlohmann::json document;
        if (!mtt_runtime::ParseJson(iText, iName, document, oError)) return nullptr;
    }
    // Read once more as it is reported, to keep the members' order.
    std::unique_ptr<JsonModel> model(new JsonModel());
    JsonModelBuilder builder(*model, 0);
    if (builder.Parse(iText)) return model;
    oError = iName + kTooLarge;
    return nullptr;
}

std::unique_ptr<JsonModel> JsonModel::FromYamlText(const std::string& iText, const std::string& iName,
                                                   std::string& oError)
{
    std::unique_ptr<JsonModel> model(new JsonModel());
    JsonModelBuilder builder(*model, iText.size());
    if (YamlBlockReader::Read(iText, builder) && builder.Finish()) return model;
    return Generally(iText, iName, oError);
}

// The general reader takes the rest, and words what is wrong.
std::unique_ptr<JsonModel> JsonModel::Generally(const std::string& iText, const std::string& iName, std::string& oError)
{
    std::unique_ptr<JsonModel> model(new JsonModel());
    JsonModelBuilder builder(*model, iText.size());
    if (!YamlReader::Read(iText, iName, builder, oError)) return nullptr;
    if (builder.Finish()) return model;
    oError = iName + kTooLarge;
    return nullptr;
}

MTLIModelObject* JsonModel::Root()
{
    return ObjectAt(_root, kNone);
}

std::string_view JsonModel::LongTextFrom(const char* iText)
{
    const char* text = iText;
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char byte = static_cast<unsigned char>(*text++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80) break;
    }
    return std::string_view(text, length);
}

uint32_t JsonModel::AddText(std::string_view iText)
{
    const std::size_t offset = _texts.size();
    const std::size_t size = iText.size();
    if (offset + size + 5 >= kNone) throw std::length_error("JsonModel: more than 4 GiB of texts");
    std::size_t lengthBytes = 1;
    for (std::size_t length = size; length >= 0x80; length >>= 7) ++lengthBytes;
    char* at = _texts.Extend(lengthBytes + size);
    std::size_t length = size;
    for (; length >= 0x80; length >>= 7) *at++ = static_cast<char>(0x80 | (length & 0x7F));
    *at++ = static_cast<char>(length);
    ShortCopy::Copy(at, iText.data(), size);
    return static_cast<uint32_t>(offset);
}

uint32_t JsonModel::MemberAt(uint32_t iShape, std::string_view iName) const
{
    const Shape& shape = _shapes[iShape];
    if (shape.count <= kFewMembers) {
        for (uint32_t i = 0; i < shape.count; ++i) {
            if (SameText(Name(ShapeName(shape, i)), iName)) return i;
        }
        return kNone;
    }
    auto name = _nameNumbers.find(iName);
    if (name == _nameNumbers.end()) return kNone;
    auto found = _manyMembers.find(uint64_t(iShape) << 32 | name->second);
    return found == _manyMembers.end() ? kNone : found->second;
}

void JsonModel::ListPlainMembers()
{
    _plainMembers.resize(_shapeNames.size());
    for (std::size_t i = 0; i < _shapeNames.size(); ++i) {
        // A name's text views its string in _names: it ends at a NUL.
        const uint32_t name = _shapeNames[i];
        _plainMembers[i] = _plainNames[name] != 0 ? _nameTexts[name].data() : nullptr;
    }
}

JsonModelObject* JsonModel::ObjectAt(uint32_t iSlot, uint32_t iParent)
{
    if (IsContainer(KindAt(iSlot))) return &_containers[_values[iSlot]];
    JsonModelObject*& scalar = _scalars[iSlot];
    if (scalar == nullptr) scalar = &_madeObjects.emplace_back(iSlot, iParent, false);
    return scalar;
}

void JsonModel::SetUserCodeSource(UserCodeSource iSource)
{
    _userCodeSource = std::move(iSource);
}

JsonModelObject* JsonModel::UserCodeOf(JsonModelObject& iOwner)
{
    JsonModelObject*& object = _userCode[&iOwner];
    if (object != nullptr) return object;
    std::string text;
    if (!(_userCodeSource && _userCodeSource(iOwner, text))) {
        const uint32_t member = iOwner.MemberSlot("UserCode");
        if (member != kNone && !IsContainer(KindAt(member))) return object = ObjectAt(member, iOwner.Number());
        text.clear();
    }
    // A text of its own, as a model text reads: up to a NUL.
    const std::lock_guard<std::mutex> adding(_adding);
    _kinds.push_back(kString);
    _values.push_back(AddText(std::string_view(text).substr(0, text.find('\0'))));
    return object = &_madeObjects.emplace_back(static_cast<uint32_t>(_kinds.size() - 1), iOwner.Number(), true);
}

const mtt_runtime::ValueRef& JsonModel::RefFor(std::string_view iText)
{
    return _refs->Get(iText);
}

std::string JsonModel::PointerOf(const MTLIModelObject* iObject) const
{
    const JsonModelObject* object = dynamic_cast<const JsonModelObject*>(iObject);
    if (object == nullptr || &object->Model() != this) return kUnknownPointer;
    return object->Pointer();
}

uint32_t JsonModel::DocumentSlotOf(const MTLIModelObject* iObject) const
{
    // Selections derive from JsonModelObject and stand for no value.
    if (iObject == nullptr || typeid(*iObject) != typeid(JsonModelObject)) return kNone;
    const JsonModelObject& object = static_cast<const JsonModelObject&>(*iObject);
    if (&object.Model() != this || object._first == JsonModelObject::kUserCode) return kNone;
    return object._slot;
}
