#include "TraceWriter.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <utility>

#include "MTTIStatement.h"
#include "SourceMap.h"
#include "mtt_transform_escapes.h"

TraceWriter::TraceWriter(const SourceMap& iMap, ObjectDescriber iDescriber)
    : _map(iMap), _describer(std::move(iDescriber))
{
}

std::string TraceWriter::QuoteJson(const std::string& iText)
{
    return "\"" + mtt_runtime::TransformEscapes::Json(iText) + "\"";
}

std::string TraceWriter::EscapeLine(const std::string& iText)
{
    std::string escaped;
    escaped.reserve(iText.size());
    for (const char c : iText) {
        const unsigned char byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\n': escaped += "\\n"; break;
        case '\r': escaped += "\\r"; break;
        case '\t': escaped += "\\t"; break;
        default:
            if (byte < 0x20 || byte == 0x7f) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02x", byte);
                escaped += hex;
            } else {
                escaped += c;
            }
        }
    }
    return escaped;
}

bool TraceWriter::IsTrace(const std::string& iText)
{
    const auto digits = [&iText](size_t& ioAt) {
        const size_t from = ioAt;
        while (ioAt < iText.size() && iText[ioAt] >= '0' && iText[ioAt] <= '9') ++ioAt;
        return ioAt > from;
    };
    for (size_t at = 0; at < iText.size();) {
        const size_t end = iText.find('\n', at);
        if (end == std::string::npos || iText[at++] != '[' || !digits(at) || iText[at++] != ',' || !digits(at) ||
            iText.compare(at, 2, ")\t") != 0) {
            return false;
        }
        // Its place, its statement and its object follow, tab-separated.
        if (std::count(iText.begin() + static_cast<std::ptrdiff_t>(at),
                       iText.begin() + static_cast<std::ptrdiff_t>(end), '\t') != 3) {
            return false;
        }
        at = end + 1;
    }
    return true;
}

std::string TraceWriter::Format(const GeneratedText& iText) const
{
    // A statement writes many pieces: its place and dump are made once.
    std::unordered_map<const MTTIStatement*, std::string> described;
    std::string trace;
    for (size_t i = 0; i < iText.PieceCount(); ++i) {
        const GeneratedText::Piece piece = iText.PieceAt(i);
        if (piece.begin == piece.end) continue;
        trace += "[" + std::to_string(piece.begin) + "," + std::to_string(piece.end) + ")\t";
        MTTIStatement* statement = piece.statement;
        auto known = described.find(statement);
        if (known == described.end()) {
            const std::optional<SourceSpan> span = statement != nullptr ? _map.Find(statement) : std::nullopt;
            std::string text = span ? _map.Where(*span) : std::string("-");
            text += '\t';
            text += statement != nullptr ? EscapeLine(statement->ToString().ConvertToChar()) : std::string("-");
            known = described.emplace(statement, std::move(text)).first;
        }
        trace += known->second;
        trace += '\t';
        const MTLIModelObject* object = piece.leaf.object;
        trace += object != nullptr && _describer ? _describer(object) : std::string("-");
        trace += '\n';
    }
    return trace;
}
