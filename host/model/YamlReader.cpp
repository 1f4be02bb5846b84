#include "YamlReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include "YamlScalar.h"
#include "mtt_json_builder.h"

namespace {

const char kNoDocument[] = "the text holds no YAML document";
const char kSecondDocument[] = "a model is one YAML document, and a second one begins here";
const char kNulInString[] = "a string holds a NUL character, which model texts cannot hold";
const char kNulInKey[] = "a key holds a NUL character, which model texts cannot hold";
const char kKeyNotScalar[] = "a key must be a scalar, not a ";
const char kDuplicateKey[] = "duplicate key ";
const char kMergeValue[] = "'<<' takes a mapping or a sequence of mappings to merge";
const char kTagUnsupported[] =
    " is not supported (a model takes !!str, !!int, !!float, !!bool, !!null, !!seq and !!map)";
const char kNoAnchor[] = " refers to no anchor before it";
const char kCycle[] = " refers to a node that contains it";
const char kTooManyCopies[] = "aliases and merges would copy more nodes than allowed (";
const char kTab[] = ": a tab cannot indent YAML, use spaces";
const char kQuoteColon[] = ": quote a value that holds ': ', or check the indentation";

// 'text', cut at a line end or after about 40 bytes (not inside a character).
std::string Quoted(std::string_view iText)
{
    size_t end = std::min(iText.find('\n'), iText.size());
    if (end > 40) {
        end = 40;
        while (end > 0 && (static_cast<unsigned char>(iText[end]) & 0xC0) == 0x80) --end;
    }
    return "'" + std::string(iText.substr(0, end)) + (end < iText.size() ? "...'" : "'");
}

std::string_view TextOf(const yaml_event_t& iEvent)
{
    return std::string_view(reinterpret_cast<const char*>(iEvent.data.scalar.value), iEvent.data.scalar.length);
}

// A tag as it is usually written: !!int for tag:yaml.org,2002:int.
std::string Shown(const std::string& iTag)
{
    const std::string core = YamlScalar::kCoreTag;
    return iTag.compare(0, core.size(), core) == 0 ? "!!" + iTag.substr(core.size()) : iTag;
}

// The message for a tag a node cannot take: a core tag for another kind of
// node, or a tag a model does not know.
std::string TagProblem(const std::string& iTag, const char* iNode)
{
    const std::string core = YamlScalar::kCoreTag;
    YamlScalar::Type type;
    const bool known = iTag == core + "seq" || iTag == core + "map" || YamlScalar::TypeOfTag(iTag, type);
    if (known) return "tag '" + Shown(iTag) + "' does not fit " + iNode;
    return "tag '" + Shown(iTag) + "'" + kTagUnsupported;
}

}  // namespace

YamlReader::YamlReader(const std::string& iText, const std::string& iName) : _text(iText), _name(iName) {}

bool YamlReader::Read(const std::string& iText, const std::string& iName, nlohmann::json& oDocument,
                      std::string& oError)
{
    YamlReader reader(iText, iName);
    if (reader.Run(oDocument)) return true;
    oError = std::move(reader._error);
    return false;
}

bool YamlReader::Run(Json& oDocument)
{
    yaml_parser_t parser;
    if (yaml_parser_initialize(&parser) == 0) throw std::bad_alloc();
    std::unique_ptr<yaml_parser_t, void (*)(yaml_parser_t*)> parserOwner(&parser, yaml_parser_delete);
    yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(_text.data()), _text.size());
    yaml_parser_set_encoding(&parser, YAML_UTF8_ENCODING);
    bool document = false;
    for (;;) {
        yaml_event_t event;
        if (yaml_parser_parse(&parser, &event) == 0) return ParserFailed(parser);
        std::unique_ptr<yaml_event_t, void (*)(yaml_event_t*)> eventOwner(&event, yaml_event_delete);
        bool ok = true;
        switch (event.type) {
        case YAML_DOCUMENT_START_EVENT:
            if (document) return Fail(event.start_mark, kSecondDocument);
            document = true;
            break;
        case YAML_STREAM_END_EVENT:
            if (!document) return FailAt(0, kNoDocument);
            oDocument = std::move(_document);
            return true;
        case YAML_SCALAR_EVENT: ok = Scalar(event); break;
        case YAML_ALIAS_EVENT: ok = Alias(event); break;
        case YAML_SEQUENCE_START_EVENT:
        case YAML_MAPPING_START_EVENT: ok = Open(event); break;
        case YAML_SEQUENCE_END_EVENT:
        case YAML_MAPPING_END_EVENT: ok = Close(); break;
        default: break;
        }
        if (!ok) return false;
    }
}

bool YamlReader::ParserFailed(const yaml_parser_t& iParser)
{
    if (iParser.error == YAML_MEMORY_ERROR) throw std::bad_alloc();
    std::string what = iParser.problem != nullptr ? iParser.problem : "malformed YAML";
    if (iParser.error == YAML_READER_ERROR) {
        // The reader counts bytes.
        if (iParser.problem_value >= 0) {
            char byte[16];
            std::snprintf(byte, sizeof byte, " (byte 0x%02X)", static_cast<unsigned>(iParser.problem_value) & 0xFFu);
            what += byte;
        }
        _error = mtt_runtime::ErrorPrefix(_name, _text, iParser.problem_offset) + what;
        return false;
    }
    const std::size_t offset = ByteOffset(iParser.problem_mark.index);
    if (what == "found character that cannot start any token" && offset < _text.size()) {
        std::size_t end = offset + 1;
        while (end < _text.size() && (static_cast<unsigned char>(_text[end]) & 0xC0) == 0x80) ++end;
        what += _text[offset] == '\t' ? std::string(kTab)
                                      : ": quote a value that begins with '" + _text.substr(offset, end - offset) + "'";
    } else if (what == "mapping values are not allowed in this context") {
        what += kQuoteColon;
    }
    if (iParser.context != nullptr && iParser.context_mark.index != iParser.problem_mark.index) {
        what += std::string(" (") + iParser.context + " at " +
                mtt_runtime::LineColumnOf(_text, ByteOffset(iParser.context_mark.index)) + ")";
    }
    return FailAt(iParser.problem_mark.index, what);
}

bool YamlReader::Fail(const yaml_mark_t& iMark, const std::string& iWhat)
{
    return FailAt(iMark.index, iWhat);
}

bool YamlReader::FailAt(std::size_t iCharacter, const std::string& iWhat)
{
    _error = mtt_runtime::ErrorPrefix(_name, _text, ByteOffset(iCharacter)) + iWhat;
    return false;
}

std::size_t YamlReader::ByteOffset(std::size_t iCharacter) const
{
    std::size_t characters = 0;
    for (std::size_t i = 0; i < _text.size(); ++i) {
        if ((static_cast<unsigned char>(_text[i]) & 0xC0) == 0x80) continue;
        if (characters++ == iCharacter) return i;
    }
    return _text.size();
}

bool YamlReader::ScalarValue(const yaml_event_t& iEvent, Json& oValue)
{
    const std::string_view text = TextOf(iEvent);
    YamlScalar::Type type = YamlScalar::Type::kString;
    std::string tag;
    if (iEvent.data.scalar.tag != nullptr) {
        tag = reinterpret_cast<const char*>(iEvent.data.scalar.tag);
        if (!YamlScalar::TypeOfTag(tag, type)) return Fail(iEvent.start_mark, TagProblem(tag, "a scalar"));
    } else if (iEvent.data.scalar.style == YAML_PLAIN_SCALAR_STYLE) {
        type = YamlScalar::Resolve(text);
    }
    std::string problem;
    if (YamlScalar::Convert(text, type, oValue, problem)) return true;
    return Fail(iEvent.start_mark, Quoted(text) + " " + problem + (tag.empty() ? "" : " (tagged " + Shown(tag) + ")"));
}

bool YamlReader::Scalar(const yaml_event_t& iEvent)
{
    if (!_stack.empty() && _stack.back().mapping && !_stack.back().haveKey) return Key(iEvent);
    const std::string_view text = TextOf(iEvent);
    if (std::memchr(text.data(), '\0', text.size()) != nullptr) return Fail(iEvent.start_mark, kNulInString);
    Json value;
    if (!ScalarValue(iEvent, value)) return false;
    Place place;
    Json* slot = Slot(place);
    if (slot == nullptr) return false;
    *slot = std::move(value);
    ++_written;
    ++_nodes;
    if (iEvent.data.scalar.anchor != nullptr) {
        SetAnchor(reinterpret_cast<const char*>(iEvent.data.scalar.anchor), place, 1, false);
    }
    return Finished();
}

bool YamlReader::Key(const yaml_event_t& iEvent)
{
    Frame& top = _stack.back();
    const std::string_view text = TextOf(iEvent);
    if (std::memchr(text.data(), '\0', text.size()) != nullptr) return Fail(iEvent.start_mark, kNulInKey);
    // The key is its text as written, but an anchor on it gives aliases its value.
    Json value;
    if (!ScalarValue(iEvent, value)) return false;
    if (iEvent.data.scalar.anchor != nullptr) {
        _aside.push_back(std::move(value));
        SetAnchor(reinterpret_cast<const char*>(iEvent.data.scalar.anchor), Place{&_aside.back(), nullptr, 0}, 1,
                  false);
    }
    top.key.assign(text);
    top.keyMark = iEvent.start_mark.index;
    top.haveKey = true;
    top.mergeKey =
        iEvent.data.scalar.tag == nullptr && iEvent.data.scalar.style == YAML_PLAIN_SCALAR_STYLE && text == "<<";
    if (top.mergeKey && top.merging) return Fail(iEvent.start_mark, kDuplicateKey + Quoted(text));
    top.merging = top.merging || top.mergeKey;
    return true;
}

bool YamlReader::Alias(const yaml_event_t& iEvent)
{
    const std::string name(reinterpret_cast<const char*>(iEvent.data.alias.anchor));
    const auto found = _anchors.find(name);
    if (found == _anchors.end()) return Fail(iEvent.start_mark, "alias '*" + name + "'" + kNoAnchor);
    const Anchor anchor = found->second;
    if (anchor.open) return Fail(iEvent.start_mark, "alias '*" + name + "'" + kCycle);
    Json& node = At(anchor.place);
    if (!_stack.empty() && _stack.back().mapping) {
        Frame& top = _stack.back();
        if (!top.haveKey) {
            if (!node.is_primitive()) {
                return Fail(iEvent.start_mark, kKeyNotScalar + std::string(node.is_array() ? "sequence" : "mapping"));
            }
            top.key = mtt_runtime::ScalarText(node);
            top.keyMark = iEvent.start_mark.index;
            top.haveKey = true;
            top.mergeKey = false;
            return true;
        }
        if (top.mergeKey) {
            top.haveKey = false;
            top.mergeKey = false;
            return Afford(anchor.nodes, iEvent.start_mark.index) && Merge(top, node, false);
        }
    }
    if (!Afford(anchor.nodes, iEvent.start_mark.index)) return false;
    Json copy;
    CopyTree(node, copy);
    _nodes += anchor.nodes;
    _copied += anchor.nodes;
    Place place;
    Json* slot = Slot(place);
    if (slot == nullptr) return false;
    *slot = std::move(copy);
    return Finished();
}

bool YamlReader::Open(const yaml_event_t& iEvent)
{
    const bool mapping = iEvent.type == YAML_MAPPING_START_EVENT;
    const char* const kind = mapping ? "mapping" : "sequence";
    if (!_stack.empty() && _stack.back().mapping && !_stack.back().haveKey) {
        return Fail(iEvent.start_mark, kKeyNotScalar + std::string(kind));
    }
    if (_stack.size() == kMaxNesting) {
        return Fail(iEvent.start_mark, "nesting deeper than " + std::to_string(kMaxNesting) + " levels");
    }
    const yaml_char_t* tag = mapping ? iEvent.data.mapping_start.tag : iEvent.data.sequence_start.tag;
    const yaml_char_t* anchor = mapping ? iEvent.data.mapping_start.anchor : iEvent.data.sequence_start.anchor;
    if (tag != nullptr) {
        const std::string written(reinterpret_cast<const char*>(tag));
        if (written != "!" && written != YamlScalar::kCoreTag + std::string(mapping ? "map" : "seq")) {
            return Fail(iEvent.start_mark, TagProblem(written, mapping ? "a mapping" : "a sequence"));
        }
    }
    Frame frame;
    frame.node = Slot(frame.place);
    if (frame.node == nullptr) return false;
    *frame.node = mapping ? Json::object() : Json::array();
    frame.mapping = mapping;
    frame.nodesBefore = _nodes++;
    ++_written;
    if (anchor != nullptr) {
        frame.anchor = reinterpret_cast<const char*>(anchor);
        SetAnchor(frame.anchor, frame.place, 0, true);
    }
    _stack.push_back(std::move(frame));
    return true;
}

bool YamlReader::Close()
{
    const Frame frame = std::move(_stack.back());
    _stack.pop_back();
    if (!frame.anchor.empty()) SetAnchor(frame.anchor, frame.place, _nodes - frame.nodesBefore, false);
    return Finished();
}

YamlReader::Json* YamlReader::Slot(Place& oPlace)
{
    if (_stack.empty()) {
        oPlace = Place{&_document, nullptr, 0};
        return &_document;
    }
    Frame& top = _stack.back();
    if (!top.mapping) {
        Json::array_t& array = top.node->get_ref<Json::array_t&>();
        array.emplace_back();
        oPlace = Place{nullptr, &array, array.size() - 1};
        return &array.back();
    }
    top.haveKey = false;
    if (top.mergeKey) {
        // Built aside, merged when finished.
        top.mergeKey = false;
        _aside.emplace_back();
        top.mergeSource = &_aside.back();
        top.anchorsBefore = _anchorsDefined;
        oPlace = Place{top.mergeSource, nullptr, 0};
        return top.mergeSource;
    }
    const auto added = top.node->get_ref<Json::object_t&>().emplace(top.key, nullptr);
    if (!added.second) {
        // A key of the mapping replaces a merged one, once.
        if (top.merged.erase(top.key) == 0) {
            FailAt(top.keyMark, kDuplicateKey + Quoted(top.key));
            return nullptr;
        }
        added.first->second = nullptr;
    }
    oPlace = Place{&added.first->second, nullptr, 0};
    return &added.first->second;
}

bool YamlReader::Finished()
{
    if (_stack.empty() || _stack.back().mergeSource == nullptr) return true;
    Frame& top = _stack.back();
    Json& source = *top.mergeSource;
    top.mergeSource = nullptr;
    // An anchor inside the source may still be aliased: then it is copied.
    const bool move = _anchorsDefined == top.anchorsBefore;
    return (move || Afford(CountNodes(source), top.keyMark)) && Merge(top, source, move);
}

bool YamlReader::Merge(Frame& ioTarget, Json& ioSource, bool iMove)
{
    std::vector<Json*> mappings;
    if (ioSource.is_object()) {
        mappings.push_back(&ioSource);
    } else if (ioSource.is_array()) {
        for (Json& element : ioSource) {
            if (!element.is_object()) return FailAt(ioTarget.keyMark, kMergeValue);
            mappings.push_back(&element);
        }
    } else {
        return FailAt(ioTarget.keyMark, kMergeValue);
    }
    Json::object_t& target = ioTarget.node->get_ref<Json::object_t&>();
    for (Json* mapping : mappings) {
        for (auto& member : mapping->get_ref<Json::object_t&>()) {
            if (target.count(member.first) != 0) continue;
            Json& slot = target[member.first];
            if (iMove) {
                slot = std::move(member.second);
            } else {
                const std::size_t nodes = CountNodes(member.second);
                _nodes += nodes;
                _copied += nodes;
                CopyTree(member.second, slot);
            }
            ioTarget.merged.insert(member.first);
        }
    }
    return true;
}

bool YamlReader::Afford(std::size_t iNodes, std::size_t iCharacter)
{
    if (_copied + iNodes <= kAliasNodes + kAliasNodesPerNode * _written) return true;
    return FailAt(iCharacter, kTooManyCopies + std::to_string(kAliasNodes) + ", and " +
                                  std::to_string(kAliasNodesPerNode) + " more for each node the text writes)");
}

void YamlReader::SetAnchor(const std::string& iName, const Place& iPlace, std::size_t iNodes, bool iOpen)
{
    _anchors[iName] = Anchor{iPlace, iNodes, iOpen};
    ++_anchorsDefined;
}

YamlReader::Json& YamlReader::At(const Place& iPlace)
{
    return iPlace.array != nullptr ? (*iPlace.array)[iPlace.index] : *iPlace.node;
}

std::size_t YamlReader::CountNodes(const Json& iNode)
{
    std::size_t count = 0;
    std::vector<const Json*> todo = {&iNode};
    while (!todo.empty()) {
        const Json* node = todo.back();
        todo.pop_back();
        ++count;
        if (node->is_array()) {
            for (const Json& element : *node) todo.push_back(&element);
        } else if (node->is_object()) {
            for (const auto& member : node->get_ref<const Json::object_t&>()) todo.push_back(&member.second);
        }
    }
    return count;
}

void YamlReader::CopyTree(const Json& iSource, Json& oCopy)
{
    // Without recursion: an anchored node may be nested deeply.
    std::vector<std::pair<const Json*, Json*>> todo = {{&iSource, &oCopy}};
    while (!todo.empty()) {
        const Json* from = todo.back().first;
        Json* to = todo.back().second;
        todo.pop_back();
        if (from->is_array()) {
            *to = Json::array();
            Json::array_t& array = to->get_ref<Json::array_t&>();
            array.resize(from->size());
            for (std::size_t i = 0; i < array.size(); ++i) todo.emplace_back(&(*from)[i], &array[i]);
        } else if (from->is_object()) {
            *to = Json::object();
            Json::object_t& object = to->get_ref<Json::object_t&>();
            for (const auto& member : from->get_ref<const Json::object_t&>()) {
                todo.emplace_back(&member.second, &object[member.first]);
            }
        } else {
            *to = *from;
        }
    }
}
