#include "YamlReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <utility>

#include "JsonTextEvents.h"
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

YamlReader::YamlReader(const std::string& iText, const std::string& iName, JsonTextEvents& ioEvents)
    : _text(iText), _name(iName), _events(ioEvents)
{
}

bool YamlReader::Read(const std::string& iText, const std::string& iName, JsonTextEvents& ioEvents, std::string& oError)
{
    YamlReader reader(iText, iName, ioEvents);
    if (reader.Run()) return true;
    oError = std::move(reader._error);
    return false;
}

bool YamlReader::Run()
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

bool YamlReader::ScalarEvent(const yaml_event_t& iEvent, Event& oEvent)
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
    YamlScalar::Kind kind;
    std::string number;
    std::string problem;
    if (!YamlScalar::KindOf(text, type, kind, number, problem)) {
        return Fail(iEvent.start_mark,
                    Quoted(text) + " " + problem + (tag.empty() ? "" : " (tagged " + Shown(tag) + ")"));
    }
    switch (kind) {
    case YamlScalar::Kind::kNull: oEvent = Event{Event::kNull, false, std::string()}; break;
    case YamlScalar::Kind::kTrue: oEvent = Event{Event::kTrue, false, std::string()}; break;
    case YamlScalar::Kind::kFalse: oEvent = Event{Event::kFalse, false, std::string()}; break;
    case YamlScalar::Kind::kNumber: oEvent = Event{Event::kNumber, false, std::move(number)}; break;
    case YamlScalar::Kind::kString: oEvent = Event{Event::kString, false, std::string(text)}; break;
    }
    return true;
}

bool YamlReader::Scalar(const yaml_event_t& iEvent)
{
    if (!_stack.empty() && _stack.back().mapping && !_stack.back().haveKey) return Key(iEvent);
    const std::string_view text = TextOf(iEvent);
    if (std::memchr(text.data(), '\0', text.size()) != nullptr) return Fail(iEvent.start_mark, kNulInString);
    Event value;
    if (!ScalarEvent(iEvent, value)) return false;
    const Claim claim = ClaimPlace();
    if (claim == Claim::kFailed) return false;
    if (claim == Claim::kMerged) return FailAt(_stack.back().keyMark, kMergeValue);
    ++_written;
    ++_nodes;
    if (iEvent.data.scalar.anchor != nullptr) {
        // Kept whatever else is: the anchor's whole node.
        ++_openAnchors;
        const std::size_t first = _kept.size();
        const bool reported = Report(value.type, value.text);
        --_openAnchors;
        _anchors[reinterpret_cast<const char*>(iEvent.data.scalar.anchor)] = Anchor{{first, _kept.size()}, 1, false};
        return reported;
    }
    return Report(value.type, value.text);
}

bool YamlReader::Key(const yaml_event_t& iEvent)
{
    Frame& top = _stack.back();
    const std::string_view text = TextOf(iEvent);
    if (std::memchr(text.data(), '\0', text.size()) != nullptr) return Fail(iEvent.start_mark, kNulInKey);
    // The key is its text as written, but an anchor on it gives aliases its value.
    Event value;
    if (!ScalarEvent(iEvent, value)) return false;
    if (iEvent.data.scalar.anchor != nullptr) {
        // Kept among the events of any node open around it, which walks
        // must not take for one of its values.
        value.unreported = true;
        _kept.push_back(std::move(value));
        _anchors[reinterpret_cast<const char*>(iEvent.data.scalar.anchor)] =
            Anchor{{_kept.size() - 1, _kept.size()}, 1, false};
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
    const Event& first = _kept[anchor.span.first];
    if (!_stack.empty() && _stack.back().mapping) {
        Frame& top = _stack.back();
        if (!top.haveKey) {
            if (first.type == Event::kOpenArray || first.type == Event::kOpenObject) {
                return Fail(iEvent.start_mark,
                            kKeyNotScalar + std::string(first.type == Event::kOpenArray ? "sequence" : "mapping"));
            }
            top.key = first.type == Event::kTrue ? "true" : first.type == Event::kFalse ? "false" : first.text;
            top.keyMark = iEvent.start_mark.index;
            top.haveKey = true;
            top.mergeKey = false;
            return true;
        }
        if (top.mergeKey) {
            top.haveKey = false;
            top.mergeKey = false;
            if (!Mergeable(anchor.span)) return FailAt(top.keyMark, kMergeValue);
            if (!Afford(anchor.nodes, iEvent.start_mark.index)) return false;
            top.merges.push_back(Merge{anchor.span, true});
            return true;
        }
    }
    if (!Afford(anchor.nodes, iEvent.start_mark.index)) return false;
    const Claim claim = ClaimPlace();
    if (claim != Claim::kPlaced) return false;
    _nodes += anchor.nodes;
    _copied += anchor.nodes;
    return Replay(anchor.span);
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
    const Claim claim = ClaimPlace();
    if (claim == Claim::kFailed) return false;
    Frame frame;
    frame.mapping = mapping;
    frame.mergeSource = claim == Claim::kMerged;
    if (frame.mergeSource) ++_openMerges;
    frame.nodesBefore = _nodes++;
    ++_written;
    frame.keptFrom = _kept.size();
    if (anchor != nullptr) {
        frame.anchor = reinterpret_cast<const char*>(anchor);
        _anchors[frame.anchor] = Anchor{{0, 0}, 0, true};
        ++_openAnchors;
    }
    _stack.push_back(std::move(frame));
    return Report(mapping ? Event::kOpenObject : Event::kOpenArray);
}

bool YamlReader::Close()
{
    Frame& top = _stack.back();
    if (top.mapping && !ApplyMerges(top)) return false;
    if (!Report(Event::kClose)) {
        // Names the model refuses are refused here first.
        return FailAt(top.keyMark, kDuplicateKey + Quoted(top.key));
    }
    const Frame frame = std::move(_stack.back());
    _stack.pop_back();
    const Span span{frame.keptFrom, _kept.size()};
    if (!frame.anchor.empty()) {
        --_openAnchors;
        _anchors[frame.anchor] = Anchor{span, _nodes - frame.nodesBefore, false};
    }
    if (!frame.mergeSource) return true;
    --_openMerges;
    _kept[span.first].unreported = true;
    Frame& target = _stack.back();
    if (!Mergeable(span)) return FailAt(target.keyMark, kMergeValue);
    target.merges.push_back(Merge{span, false});
    return true;
}

YamlReader::Claim YamlReader::ClaimPlace()
{
    if (_stack.empty() || !_stack.back().mapping) return Claim::kPlaced;
    Frame& top = _stack.back();
    top.haveKey = false;
    if (top.mergeKey) {
        top.mergeKey = false;
        return Claim::kMerged;
    }
    if (!AddKey(top, top.key)) {
        FailAt(top.keyMark, kDuplicateKey + Quoted(top.key));
        return Claim::kFailed;
    }
    return Report(Event::kKey, top.key) ? Claim::kPlaced : Claim::kFailed;
}

// A key the mapping does not have yet is added; false for one it has.
bool YamlReader::AddKey(Frame& ioFrame, const std::string& iKey)
{
    constexpr std::size_t kFewKeys = 16;
    if (ioFrame.keys.size() < kFewKeys) {
        if (std::find(ioFrame.keys.begin(), ioFrame.keys.end(), iKey) != ioFrame.keys.end()) return false;
        ioFrame.keys.push_back(iKey);
        if (ioFrame.keys.size() == kFewKeys) ioFrame.keySet.insert(ioFrame.keys.begin(), ioFrame.keys.end());
        return true;
    }
    return ioFrame.keySet.insert(iKey).second;
}

bool YamlReader::Mergeable(const Span& iSpan) const
{
    const Event::Type type = _kept[iSpan.first].type;
    if (type == Event::kOpenObject) return true;
    if (type != Event::kOpenArray) return false;
    for (std::size_t at = Reported(iSpan.first + 1); at + 1 < iSpan.end; at = Reported(EndOf(at))) {
        if (_kept[at].type != Event::kOpenObject) return false;
    }
    return true;
}

// Members the mapping lacks, from its merges in order: the first wins.
bool YamlReader::ApplyMerges(Frame& ioFrame)
{
    std::vector<Span> mappings;
    for (const Merge& merge : ioFrame.merges) {
        const std::size_t before = mappings.size();
        if (_kept[merge.span.first].type == Event::kOpenObject) {
            mappings.push_back(merge.span);
        } else {
            for (std::size_t at = Reported(merge.span.first + 1); at + 1 < merge.span.end; at = Reported(EndOf(at))) {
                mappings.push_back(Span{at, EndOf(at)});
            }
        }
        for (std::size_t i = before; i < mappings.size(); ++i) {
            const Span mapping = mappings[i];
            for (std::size_t at = Reported(mapping.first + 1); at + 1 < mapping.end; at = Reported(at)) {
                const std::string key = _kept[at].text;
                const Span value{at + 1, EndOf(at + 1)};
                at = value.end;
                if (!AddKey(ioFrame, key)) continue;
                // Members of an alias count as copies; a source written in
                // place is merged once.
                if (merge.copied) {
                    const std::size_t nodes = NodesIn(value);
                    _nodes += nodes;
                    _copied += nodes;
                }
                if (!Report(Event::kKey, key) || !Replay(value)) return false;
            }
        }
    }
    return true;
}

bool YamlReader::Report(Event::Type iType, std::string_view iText)
{
    if (_openAnchors > 0 || _openMerges > 0) _kept.push_back(Event{iType, false, std::string(iText)});
    if (_openMerges > 0) return true;
    switch (iType) {
    case Event::kOpenArray: _events.OpenArray(); break;
    case Event::kOpenObject: _events.OpenObject(); break;
    case Event::kKey: _events.Key(iText); break;
    case Event::kString: _events.String(iText); break;
    case Event::kNumber: _events.Number(iText); break;
    case Event::kTrue: _events.Boolean(true); break;
    case Event::kFalse: _events.Boolean(false); break;
    case Event::kNull: _events.Null(); break;
    case Event::kClose: return _events.Close();
    }
    return true;
}

bool YamlReader::Replay(const Span& iSpan)
{
    // The node itself is replayed even when it was a merge source.
    for (std::size_t at = iSpan.first; at < iSpan.end; at = Reported(at + 1)) {
        // A copy: reporting may keep events, and _kept may move.
        const Event event = _kept[at];
        if (!Report(event.type, event.text)) return false;
    }
    return true;
}

std::size_t YamlReader::EndOf(std::size_t iFirst) const
{
    std::size_t depth = 0;
    std::size_t at = iFirst;
    do {
        const Event::Type type = _kept[at].type;
        if (type == Event::kOpenArray || type == Event::kOpenObject) ++depth;
        if (type == Event::kClose) --depth;
        ++at;
    } while (depth > 0);
    return at;
}

std::size_t YamlReader::NodesIn(const Span& iSpan) const
{
    std::size_t nodes = 0;
    for (std::size_t at = iSpan.first; at < iSpan.end; at = Reported(at + 1)) {
        if (_kept[at].type != Event::kKey && _kept[at].type != Event::kClose) ++nodes;
    }
    return nodes;
}

std::size_t YamlReader::Reported(std::size_t iAt) const
{
    while (iAt < _kept.size() && _kept[iAt].unreported) iAt = EndOf(iAt);
    return iAt;
}

bool YamlReader::Afford(std::size_t iNodes, std::size_t iCharacter)
{
    if (_copied + iNodes <= kAliasNodes + kAliasNodesPerNode * _written) return true;
    return FailAt(iCharacter, kTooManyCopies + std::to_string(kAliasNodes) + ", and " +
                                  std::to_string(kAliasNodesPerNode) + " more for each node the text writes)");
}
