#ifndef YAMLREADER_H
#define YAMLREADER_H

#include <cstddef>
#include <deque>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <nlohmann/json.hpp>
#include <yaml.h>

// Reads a YAML text into the JSON document a JsonModel is made of, so that a
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
// for JSON. Nesting costs heap, not call stack, as for JSON.
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

    // False with oError.
    static bool Read(const std::string& iText, const std::string& iName, nlohmann::json& oDocument,
                     std::string& oError);

private:
    using Json = nlohmann::json;

    // Where a finished node lies, found again while the document grows: an
    // element through its array, whose storage moves when it grows.
    struct Place {
        Json* node;
        Json::array_t* array;
        std::size_t index;
    };
    struct Anchor {
        Place place;
        std::size_t nodes;  // in the node's tree
        bool open;          // the node is not finished: an alias to it is a cycle
    };
    // A sequence or mapping being filled.
    struct Frame {
        Json* node;
        bool mapping;
        Place place;
        std::string anchor;
        std::size_t nodesBefore;
        // A mapping's key waiting for its value, and where the key began.
        bool haveKey = false;
        std::string key;
        std::size_t keyMark = 0;
        // The key is "<<": the value merges into this mapping; a merged
        // mapping or sequence is built in mergeSource first.
        bool mergeKey = false;
        bool merging = false;  // a "<<" was met: a second one is a duplicate key
        Json* mergeSource = nullptr;
        std::size_t anchorsBefore = 0;
        // Keys that came from merges, which a key of the mapping may replace.
        std::unordered_set<std::string> merged;
    };

    YamlReader(const std::string& iText, const std::string& iName);
    bool Run(Json& oDocument);
    bool ParserFailed(const yaml_parser_t& iParser);
    // Marks count characters; messages count bytes.
    bool Fail(const yaml_mark_t& iMark, const std::string& iWhat);
    bool FailAt(std::size_t iCharacter, const std::string& iWhat);
    std::size_t ByteOffset(std::size_t iCharacter) const;

    bool Scalar(const yaml_event_t& iEvent);
    bool ScalarValue(const yaml_event_t& iEvent, Json& oValue);
    bool Key(const yaml_event_t& iEvent);
    bool Alias(const yaml_event_t& iEvent);
    bool Open(const yaml_event_t& iEvent);
    bool Close();
    // The slot the next value goes to, or null after an error.
    Json* Slot(Place& oPlace);
    // After a value is finished: a pending merge is done.
    bool Finished();
    // Copies (or moves) the members of a mapping, or of a sequence of
    // mappings, that ioTarget lacks.
    bool Merge(Frame& ioTarget, Json& ioSource, bool iMove);
    // Whether aliases and merges may copy iNodes more nodes.
    bool Afford(std::size_t iNodes, std::size_t iCharacter);
    void SetAnchor(const std::string& iName, const Place& iPlace, std::size_t iNodes, bool iOpen);
    static Json& At(const Place& iPlace);
    static std::size_t CountNodes(const Json& iNode);
    static void CopyTree(const Json& iSource, Json& oCopy);

    const std::string& _text;
    const std::string& _name;
    std::string _error;
    Json _document;
    std::vector<Frame> _stack;
    std::unordered_map<std::string, Anchor> _anchors;
    std::size_t _anchorsDefined = 0;
    // Values that are not in the document: anchored keys and merge sources.
    std::deque<Json> _aside;
    std::size_t _written = 0;  // nodes the text writes
    std::size_t _nodes = 0;    // nodes made, copies included
    std::size_t _copied = 0;   // nodes made by aliases and merges
};

#endif
