#include "Manifest.h"

#include <cctype>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "TextFile.h"
#include "mtt_transform_escapes.h"

const char* const Manifest::kFileName = ".mttgen-manifest";

namespace {

const int kManifestVersion = 1;

std::string Hex(const std::vector<uint32_t>& iDigests)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string text(iDigests.size() * 8, '0');
    for (size_t i = 0; i < iDigests.size(); ++i) {
        for (int nibble = 0; nibble < 8; ++nibble) {
            text[i * 8 + static_cast<size_t>(nibble)] = kDigits[(iDigests[i] >> (28 - 4 * nibble)) & 0xf];
        }
    }
    return text;
}

bool FromHex(const std::string& iText, std::vector<uint32_t>& oDigests)
{
    if (iText.size() % 8 != 0) return false;
    oDigests.assign(iText.size() / 8, 0);
    for (size_t i = 0; i < iText.size(); ++i) {
        const char c = iText[i];
        const int value = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (value < 0) return false;
        oDigests[i / 8] = (oDigests[i / 8] << 4) | static_cast<uint32_t>(value);
    }
    return true;
}

bool IsUtf8(const std::string& iText)
{
    for (size_t i = 0; i < iText.size();) {
        if (static_cast<unsigned char>(iText[i]) < 0x80) {
            ++i;
            continue;
        }
        unsigned long code = 0;
        const size_t length = mtt_runtime::TransformEscapes::DecodeUtf8(iText, i, code);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

// Names as JSON can hold them, and back, byte for byte: "%", control
// bytes and, in a name that is not UTF-8, every byte above 0x7f as %XX.
std::string Encoded(const std::string& iName)
{
    const bool utf8 = IsUtf8(iName);
    std::string encoded;
    for (const char c : iName) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '%' || byte < 0x20 || byte == 0x7f || (!utf8 && byte >= 0x80)) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            encoded += hex;
        } else {
            encoded += c;
        }
    }
    return encoded;
}

std::string Decoded(const std::string& iText)
{
    std::string decoded;
    for (size_t i = 0; i < iText.size(); ++i) {
        if (iText[i] == '%' && i + 2 < iText.size() && std::isxdigit(static_cast<unsigned char>(iText[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(iText[i + 2]))) {
            decoded += static_cast<char>(std::stoi(iText.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            decoded += iText[i];
        }
    }
    return decoded;
}

}  // namespace

bool Manifest::Load(const std::string& iRoot, std::string& oError)
{
    _path = (iRoot.empty() ? std::string(".") : iRoot) + "/" + kFileName;
    _entries.clear();
    _exists = false;
    std::string text;
    std::string error;
    switch (TextFile::ReadNoFollow(_path, text, error)) {
    case TextFile::Result::kMissing: return true;
    case TextFile::Result::kFailed: oError = error; return false;
    case TextFile::Result::kRead: break;
    }
    _exists = true;
    const nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    const auto files = document.is_object() ? document.find("files") : document.end();
    if (document.is_discarded() || !document.is_object() || document.value("mttgen-manifest", 0) != kManifestVersion ||
        files == document.end() || !files->is_object()) {
        oError = _path +
                 ": error: not a manifest this mttgen reads (remove it to start afresh; the files it lists are "
                 "then taken as not written by mttgen)";
        return false;
    }
    for (const auto& file : files->items()) {
        Entry entry;
        const nlohmann::json& value = file.value();
        if (!value.is_object() || !value.value("run", nlohmann::json()).is_string() ||
            !FromHex(value.value("lines", std::string("?")), entry.lines)) {
            oError = _path + ": error: the entry of '" + file.key() + "' is damaged";
            return false;
        }
        entry.run = Decoded(value["run"].get<std::string>());
        _entries[Decoded(file.key())] = std::move(entry);
    }
    return true;
}

const Manifest::Entry* Manifest::Find(const std::string& iRelative) const
{
    auto found = _entries.find(iRelative);
    return found == _entries.end() ? nullptr : &found->second;
}

std::string Manifest::Text() const
{
    std::string text = "{\"mttgen-manifest\": " + std::to_string(kManifestVersion) +
                       ",\n \"about\": \"What mttgen generated in this folder: the next run tells hand edits and files "
                       "whose model element has gone by it. Keep it with the files.\",\n \"files\": {";
    bool first = true;
    for (const auto& entry : _entries) {
        text += first ? "\n  " : ",\n  ";
        first = false;
        text += nlohmann::json(Encoded(entry.first)).dump() +
                ": {\"run\": " + nlohmann::json(Encoded(entry.second.run)).dump() + ", \"lines\": \"" +
                Hex(entry.second.lines) + "\"}";
    }
    text += "\n }}\n";
    return text;
}
