#include "ModelNodeTable.h"

#include <algorithm>
#include <array>
#include <cstring>

#include <nlohmann/json.hpp>

#include "JsonModel.h"
#include "PackedNumbers.h"
#include "ScriptJson.h"

namespace {

// Arrays with more elements than this find them through a table.
const size_t kLongArray = 64;

// The byte offsets of UTF-16 offsets into a UTF-8 text (ascending).
std::vector<size_t> BytesOfUnits(std::string_view iText, const std::vector<uint64_t>& iUnits)
{
    std::vector<size_t> bytes;
    bytes.reserve(iUnits.size());
    size_t at = 0;
    uint64_t units = 0;
    for (const uint64_t wanted : iUnits) {
        while (units < wanted && at < iText.size()) {
            const unsigned char byte = static_cast<unsigned char>(iText[at]);
            const size_t length = byte < 0x80 ? 1 : byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : byte >= 0xc0 ? 2 : 1;
            units += length == 4 ? 2 : 1;
            at += length;
        }
        bytes.push_back(std::min(at, iText.size()));
    }
    return bytes;
}

// The quotes and backslashes of a text: what the page escapes again.
size_t QuotesAndBackslashes(std::string_view iText)
{
    return static_cast<size_t>(std::count(iText.begin(), iText.end(), '"') +
                               std::count(iText.begin(), iText.end(), '\\'));
}

}  // namespace

// Builds the table as the model tells its document, node by node in
// document order.
struct ModelNodeTable::Reader {
    ModelNodeTable& table;
    const JsonModel& model;
    std::vector<uint32_t>* slots;
    std::vector<int32_t> open{};  // the containers being read
    // By the model's number of a member name: its key, 0 until met. A
    // model numbers each name once, so no name is hashed twice.
    std::vector<uint32_t> keys{};

    void Value(uint32_t iSlot, uint32_t iName, JsonModel::Kind iKind, std::string_view iText)
    {
        if (slots != nullptr) slots->push_back(iSlot);
        const size_t before = table._scalars.size();
        uint8_t kind = kScalar;
        switch (iKind) {
        case JsonModel::kString: table.AppendString(iText); break;
        case JsonModel::kNumber: table._scalars.Append(iText.data(), iText.size()); break;
        case JsonModel::kTrue: table._scalars.Append("true", 4); break;
        case JsonModel::kFalse: table._scalars.Append("false", 5); break;
        case JsonModel::kNull: table._scalars.Append("null", 4); break;
        case JsonModel::kArray: kind = kArray; break;
        case JsonModel::kObject: kind = kObject; break;
        }
        const int32_t node =
            table.AddNode(open.empty() ? -1 : open.back(), Key(iName), kind, before, table._scalars.size() - before);
        if (kind != kScalar) open.push_back(node);
    }
    uint32_t Key(uint32_t iName)
    {
        if (iName == JsonModel::kNoName) return 0;
        if (iName >= keys.size()) keys.resize(iName + 1, 0);
        uint32_t& key = keys[iName];
        if (key == 0) key = table.KeyNumber(model.MemberName(iName));
        return key;
    }
    void Close()
    {
        const int32_t node = open.back();
        open.pop_back();
        table._endAfter.Set(static_cast<size_t>(node), static_cast<uint32_t>(table.Size() - node));
    }
};

ModelNodeTable ModelNodeTable::Of(const JsonModel& iModel, std::vector<uint32_t>* oSlots)
{
    ModelNodeTable table;
    // Room for every node at once: grown by doubling, the columns of a
    // large model would each be held twice for a moment. The scalars'
    // room is a guess (a short name or number each); address space, not
    // memory, until written.
    const size_t nodes = iModel.SlotCount();
    table._parent.reserve(nodes);
    table._endAfter.Reserve(nodes);
    table._key.Reserve(nodes);
    table._kind.reserve(nodes);
    table._scalarLength.Reserve(nodes);
    table._scalarsBefore.reserve(nodes / kScalarStep + 1);
    table._scalars.reserve(nodes * 8);
    if (oSlots != nullptr) oSlots->reserve(oSlots->size() + nodes);
    Reader reader{table, iModel, oSlots};
    iModel.Visit(reader);
    table.SortWide();
    return table;
}

int32_t ModelNodeTable::AddNode(int32_t iParent, uint32_t iKey, uint8_t iKind, size_t iBefore, size_t iLength)
{
    const int32_t index = Size();
    if (index % kScalarStep == 0) _scalarsBefore.push_back(static_cast<uint32_t>(iBefore));
    _parent.push_back(iParent);
    _endAfter.PushBack(1);  // a container's is set once it ends
    _key.PushBack(iKey);
    _kind.push_back(iKind);
    _scalarLength.PushBack(static_cast<uint32_t>(iLength));
    return index;
}

size_t ModelNodeTable::ScalarsBefore(int32_t iNode) const
{
    size_t before = _scalarsBefore[static_cast<size_t>(iNode / kScalarStep)];
    for (int32_t node = iNode / kScalarStep * kScalarStep; node < iNode; ++node) before += _scalarLength[node];
    return before;
}

uint32_t ModelNodeTable::KeyNumber(std::string_view iName)
{
    auto known = _keyNumbers.find(iName);
    if (known == _keyNumbers.end()) {
        _keys.emplace_back(iName);
        known = _keyNumbers.emplace(_keys.back(), static_cast<uint32_t>(_keys.size())).first;
    }
    return known->second;
}

void ModelNodeTable::AppendString(std::string_view iText)
{
    // Most scalars are strings: written here as dump would, without a
    // string of their own; most are a name or a word that needs no escape,
    // added with its quotes at once.
    const auto plainByte = [](char iByte) {
        const unsigned char c = static_cast<unsigned char>(iByte);
        return c >= 0x20 && c != '"' && c != '\\';
    };
    if (std::all_of(iText.begin(), iText.end(), plainByte)) {
        char* to = _scalars.Extend(iText.size() + 2);
        to[0] = '"';
        std::memcpy(to + 1, iText.data(), iText.size());
        to[iText.size() + 1] = '"';
        _quotesAndBackslashes += 2;
        return;
    }
    const size_t begin = _scalars.size();
    const auto put = [this](std::string_view iPiece) { _scalars.Append(iPiece.data(), iPiece.size()); };
    put("\"");
    size_t plain = 0;
    for (size_t at = 0; at < iText.size(); ++at) {
        if (plainByte(iText[at])) continue;
        const unsigned char c = static_cast<unsigned char>(iText[at]);
        put(iText.substr(plain, at - plain));
        plain = at + 1;
        static const char kHex[] = "0123456789abcdef";
        switch (c) {
        case '"': put("\\\""); break;
        case '\\': put("\\\\"); break;
        case '\n': put("\\n"); break;
        case '\t': put("\\t"); break;
        case '\r': put("\\r"); break;
        case '\b': put("\\b"); break;
        case '\f': put("\\f"); break;
        default: {
            const char escaped[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
            put(std::string_view(escaped, sizeof escaped));
        }
        }
    }
    put(iText.substr(plain));
    put("\"");
    _quotesAndBackslashes += QuotesAndBackslashes(Scalars().substr(begin));
}

ModelNodeTable ModelNodeTable::FromPage(const nlohmann::json& iModel)
{
    ModelNodeTable table;
    if (!iModel.is_object() || !iModel.contains("keys") || !iModel.contains("nodes") || !iModel.contains("scalars")) {
        return table;
    }
    // A name an earlier page lists twice stands for the same member: each
    // place is read as the name's first.
    std::vector<uint32_t> firstOf;
    for (const nlohmann::json& key : iModel["keys"]) {
        firstOf.push_back(table.KeyNumber(key.is_string() ? key.get<std::string>() : std::string()));
    }
    const std::string& scalars = iModel["scalars"].get_ref<const std::string&>();
    table._scalars.Append(scalars.data(), scalars.size());
    table._quotesAndBackslashes = QuotesAndBackslashes(scalars);
    const std::vector<int32_t> numbers = PackedNumbers::Read(iModel["nodes"].get<std::string>(), 3);
    // Each node's scalars end, in units, then in bytes.
    std::vector<uint64_t> units;
    uint64_t unit = 0;
    for (size_t i = 0; i + 2 < numbers.size(); i += 3) {
        const int32_t distance = numbers[i];
        const int64_t index = static_cast<int64_t>(i / 3);
        if (distance < 0 || distance > index || (distance == 0 && index > 0) || numbers[i + 2] < 0) {
            return ModelNodeTable();
        }
        if (numbers[i + 2] >= 2) unit += static_cast<uint64_t>(numbers[i + 2] - 2);
        units.push_back(unit);
    }
    const std::vector<size_t> bytes = BytesOfUnits(table.Scalars(), units);
    for (size_t node = 0; node < units.size(); ++node) {
        const int32_t distance = numbers[3 * node], key = numbers[3 * node + 1], value = numbers[3 * node + 2];
        const size_t before = node > 0 ? bytes[node - 1] : 0;
        table.AddNode(distance == 0 ? -1 : static_cast<int32_t>(node) - distance,
                      key > 0 && static_cast<size_t>(key) <= firstOf.size() ? firstOf[key - 1] : 0,
                      value == 0   ? kObject
                      : value == 1 ? kArray
                                   : kScalar,
                      before, bytes[node] - before);
    }
    if (!table.Finish()) return ModelNodeTable();
    return table;
}

bool ModelNodeTable::Finish()
{
    // Nodes come in document order: a node's parent is open when it comes,
    // and the nodes opened after its parent have ended.
    std::vector<int32_t> open;
    const auto endLast = [&](int32_t iEnd) {
        _endAfter.Set(static_cast<size_t>(open.back()), static_cast<uint32_t>(iEnd - open.back()));
        open.pop_back();
    };
    for (int32_t node = 0; node < Size(); ++node) {
        while (!open.empty() && open.back() != _parent[node]) endLast(node);
        if (open.empty() != (_parent[node] < 0)) return false;
        if (_kind[node] != kScalar) open.push_back(node);
    }
    while (!open.empty()) endLast(Size());
    SortWide();
    return true;
}

void ModelNodeTable::SortWide()
{
    _endAfter.Sort();
    _key.Sort();
    _scalarLength.Sort();
}

int32_t ModelNodeTable::Member(int32_t iNode, uint32_t iKey) const
{
    if (iNode < 0 || iKey == 0 || !IsObject(iNode)) return -1;
    for (int32_t child = iNode + 1; child < End(iNode); child = End(child)) {
        if (_key[child] == iKey) return child;
    }
    return -1;
}

uint32_t ModelNodeTable::KeyOf(std::string_view iName) const
{
    const auto known = _keyNumbers.find(iName);
    return known == _keyNumbers.end() ? 0 : known->second;
}

int32_t ModelNodeTable::Element(int32_t iNode, size_t iIndex) const
{
    if (iNode < 0 || !IsArray(iNode)) return -1;
    auto known = _elements.find(iNode);
    if (known == _elements.end()) {
        int32_t child = iNode + 1;
        size_t i = 0;
        for (; i < iIndex && child < End(iNode) && i < kLongArray; ++i) child = End(child);
        if (i == iIndex) return child < End(iNode) ? child : -1;
        if (child >= End(iNode)) return -1;
        std::vector<int32_t> elements;
        for (child = iNode + 1; child < End(iNode); child = End(child)) elements.push_back(child);
        known = _elements.emplace(iNode, std::move(elements)).first;
    }
    return iIndex < known->second.size() ? known->second[iIndex] : -1;
}

int32_t ModelNodeTable::ChildCount(int32_t iNode) const
{
    int32_t count = 0;
    for (int32_t child = iNode + 1; child < End(iNode); child = End(child)) ++count;
    return count;
}

int32_t ModelNodeTable::Child(int32_t iNode, const std::string& iToken) const
{
    if (iNode < 0 || !IsArray(iNode)) return Member(iNode, iToken);
    // An index: digits, without a leading zero.
    const bool digits = !iToken.empty() && iToken.size() < 10 &&
                        iToken.find_first_not_of("0123456789") == std::string::npos &&
                        (iToken[0] != '0' || iToken.size() == 1);
    return digits ? Element(iNode, std::stoul(iToken)) : -1;
}

int32_t ModelNodeTable::Enclosing(int32_t iNode) const
{
    int32_t node = _parent[iNode];
    while (node >= 0 && IsArray(node)) node = _parent[node];
    return node;
}

std::string_view ModelNodeTable::Scalar(int32_t iNode) const
{
    if (iNode < 0 || _kind[iNode] != kScalar) return std::string_view();
    return Scalars().substr(ScalarsBefore(iNode), _scalarLength[iNode]);
}

std::string ModelNodeTable::PointerOf(int32_t iNode) const
{
    if (_ordinal.empty() && !_parent.empty()) {
        _ordinal.assign(_parent.size(), 0);
        std::vector<int32_t> counts(_parent.size(), 0);
        for (int32_t i = 1; i < Size(); ++i) _ordinal[i] = counts[_parent[i]]++;
    }
    std::vector<std::string> tokens;
    for (int32_t node = iNode; node >= 0 && _parent[node] >= 0; node = _parent[node]) {
        std::string token = _key[node] > 0 ? _keys[_key[node] - 1] : std::to_string(_ordinal[node]);
        std::string escaped;
        for (const char c : token)
            escaped += c == '~' ? std::string("~0") : c == '/' ? std::string("~1") : std::string(1, c);
        tokens.push_back(std::move(escaped));
    }
    std::string pointer;
    for (auto token = tokens.rbegin(); token != tokens.rend(); ++token) pointer += "/" + *token;
    return pointer;
}

int32_t ModelNodeTable::Find(const std::string& iPointer) const
{
    if (_parent.empty() || (!iPointer.empty() && iPointer[0] != '/')) return -1;
    int32_t node = 0;
    for (size_t at = 0; at < iPointer.size() && node >= 0;) {
        size_t end = iPointer.find('/', at + 1);
        if (end == std::string::npos) end = iPointer.size();
        std::string token;
        for (size_t i = at + 1; i < end; ++i) {
            if (iPointer[i] == '~' && i + 1 < end) {
                token += iPointer[++i] == '1' ? '/' : '~';
            } else {
                token += iPointer[i];
            }
        }
        node = Child(node, token);
        at = end;
    }
    return node;
}

void ModelNodeTable::AppendJson(std::string& ioOut) const
{
    // The nodes first, on their own: the whole is then added at once to
    // room made for it, rather than grown by a copy of what it has.
    // The scalars' lengths in UTF-16 units: their bytes where they are
    // ASCII (most models), else what writing them counts.
    const std::string_view scalars = Scalars();
    const bool ascii = ScriptJson::IsAscii(scalars);
    std::vector<uint32_t> units;
    if (!ascii) {
        std::vector<uint32_t> ends;
        uint32_t end = 0;
        for (int32_t i = 0; i < Size(); ++i) {
            end += _scalarLength[i];
            if (_kind[i] == kScalar) ends.push_back(end);
        }
        ScriptJson::Units(scalars, ends, units);
    }
    std::string nodes;
    {
        PackedNumbers packed(3);
        packed.Reserve(_parent.size());
        size_t scalar = 0;
        uint32_t unitsBefore = 0;
        for (int32_t i = 0; i < Size(); ++i) {
            int64_t value = _kind[i] == kObject ? 0 : 1;
            if (_kind[i] == kScalar) {
                const uint32_t end = ascii ? unitsBefore + _scalarLength[i] : units[scalar++];
                value = 2 + static_cast<int64_t>(end) - unitsBefore;
                unitsBefore = end;
            }
            packed.Add({_parent[i] < 0 ? 0 : i - _parent[i], _key[i], value});
        }
        std::vector<uint32_t>().swap(units);
        packed.AppendTo(nodes);
    }
    size_t keys = 0;
    for (const std::string& key : _keys) keys += key.size() + key.size() / 16 + 3;
    // The scalars are JSON texts: their quotes and backslashes are escaped
    // again in the page's string.
    ioOut.reserve(ioOut.size() + keys + scalars.size() + _quotesAndBackslashes + scalars.size() / 16 + nodes.size() +
                  64);
    ioOut += "{\"keys\":[";
    for (size_t i = 0; i < _keys.size(); ++i) {
        if (i > 0) ioOut += ',';
        ScriptJson::AppendString(ioOut, _keys[i]);
    }
    ioOut += "],\"scalars\":";
    ScriptJson::AppendString(ioOut, scalars);
    ioOut += ",\"nodes\":";
    ioOut += nodes;
    ioOut += '}';
}
