#ifndef YAMLREADER_H
#define YAMLREADER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <yaml.h>

class JsonTextEvents;

// Reads a YAML text as the JSON document a JsonModel is made of, so that a
// YAML model has the same names, paths, pointers and texts as the JSON one
// with the same content:
//   - one document (a second one is an error); mappings become objects,
//     sequences arrays, scalars what YamlScalar says;
//   - a key is the text of a scalar as written (1: and "1": are both "1");
//     a key that is a sequence or a mapping, and a key given twice in one
//     mapping, are errors;
//   - aliases are copies of their anchor's node; "<<" merges a mapping (or
//     a sequence of mappings, the first winning) into the mapping it is in,
//     whose own keys win;
//   - the core tags (!!str, !!int, !!float, !!bool, !!null, !!seq, !!map,
//     and "!") are honoured; any other tag is an error;
//   - a string or key holding a NUL character is an error (model texts end
//     at one).
// Errors read "NAME:LINE:COLUMN: error: what", with byte columns from 1 as
// for JSON. Nesting costs heap, not call stack, as for JSON. No tree is
// built: values go to the listener as they are read, and only what an
// anchor or a merge may need again is kept.
class YamlReader {
public:
    // Aliases may add at most kAliasNodes nodes, plus kAliasNodesPerNode for
    // each node the text writes itself: a document of nested aliases that
    // would expand to billions of nodes stops there.
    static constexpr std::size_t kAliasNodes = 100000;
    static constexpr std::size_t kAliasNodesPerNode = 10;
    // Sequences and mappings nest this deep at most: the YAML scanner spends
    // time in proportion to the depth on every token.
    static constexpr std::size_t kMaxNesting = 1000;

    // Reports the document to ioEvents value by value, in document order; a
    // mapping's merged members come after its own. False with oError, and
    // what was reported is to be dropped.
    static bool Read(const std::string& iText, const std::string& iName, JsonTextEvents& ioEvents, std::string& oError);

private:
    // A value as reported, kept while an anchor or a merge may need it again.
    struct Event {
        enum Type : uint8_t { kOpenArray, kOpenObject, kKey, kString, kNumber, kTrue, kFalse, kNull, kClose };
        Type type;
        // Kept but not reported: the first event of a merge source, or the
        // value an anchored key lends its aliases. Replays and walks pass
        // over it as the reports did.
        bool unreported = false;
        std::string text;  // of a key, string or number
    };
    // The events of one node in _kept: [first, end).
    struct Span {
        std::size_t first;
        std::size_t end;
    };
    struct Anchor {
        Span span;
        std::size_t nodes;  // in the node's tree
        bool open;          // the node is not finished: an alias to it is a cycle
    };
    // A mapping, or a sequence of mappings, whose members a mapping takes.
    struct Merge {
        Span span;
        bool copied;  // through an alias: its members count as copies
    };
    // A sequence or mapping being read.
    struct Frame {
        bool mapping = false;
        // The value of a "<<": kept, not reported, merged when its mapping ends.
        bool mergeSource = false;
        std::string anchor;
        std::size_t keptFrom = 0;
        std::size_t nodesBefore = 0;
        // A mapping's key waiting for its value, and where the key began.
        bool haveKey = false;
        std::string key;
        std::size_t keyMark = 0;
        // The key is "<<"; a "<<" was met (a second one is a duplicate key).
        bool mergeKey = false;
        bool merging = false;
        // Its own keys, found by a table once there are many.
        std::vector<std::string> keys;
        std::unordered_set<std::string> keySet;
        std::vector<Merge> merges;
    };
    enum class Claim { kFailed, kPlaced, kMerged };

    YamlReader(const std::string& iText, const std::string& iName, JsonTextEvents& ioEvents);
    bool Run();
    bool ParserFailed(const yaml_parser_t& iParser);
    // Marks count characters; messages count bytes.
    bool Fail(const yaml_mark_t& iMark, const std::string& iWhat);
    bool FailAt(std::size_t iCharacter, const std::string& iWhat);
    std::size_t ByteOffset(std::size_t iCharacter) const;

    // The event a scalar is, its tag and text checked.
    bool ScalarEvent(const yaml_event_t& iEvent, Event& oEvent);
    bool Scalar(const yaml_event_t& iEvent);
    bool Key(const yaml_event_t& iEvent);
    bool Alias(const yaml_event_t& iEvent);
    bool Open(const yaml_event_t& iEvent);
    bool Close();
    // Where the next value goes: after its key (reported now, or refused as
    // a duplicate), or into a merge.
    Claim ClaimPlace();
    bool AddKey(Frame& ioFrame, const std::string& iKey);
    // A merge's value: a mapping or a sequence of mappings.
    bool Mergeable(const Span& iSpan) const;
    bool ApplyMerges(Frame& ioFrame);
    // Reports an event, kept too while anything may need it again.
    bool Report(Event::Type iType, std::string_view iText = std::string_view());
    bool Replay(const Span& iSpan);
    // The end of the node whose events begin at iFirst.
    std::size_t EndOf(std::size_t iFirst) const;
    // iAt, or past the merge sources kept there.
    std::size_t Reported(std::size_t iAt) const;
    std::size_t NodesIn(const Span& iSpan) const;
    // Whether aliases and merges may copy iNodes more nodes.
    bool Afford(std::size_t iNodes, std::size_t iCharacter);

    const std::string& _text;
    const std::string& _name;
    JsonTextEvents& _events;
    std::string _error;
    std::vector<Frame> _stack;
    std::unordered_map<std::string, Anchor> _anchors;
    // Events kept while an anchored node or a merge source is open.
    std::vector<Event> _kept;
    std::size_t _openAnchors = 0;
    std::size_t _openMerges = 0;
    std::size_t _written = 0;  // nodes the text writes
    std::size_t _nodes = 0;    // nodes made, copies included
    std::size_t _copied = 0;   // nodes made by aliases and merges
};

#endif
