#include "UserCodeKeys.h"

#include <cstdio>

#include "JsonModelObject.h"

namespace {

void AppendEscaped(std::string& ioKey, const std::string& iSegment)
{
    for (const char c : iSegment) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (c == '~') {
            ioKey += "~0";
        } else if (c == '/') {
            ioKey += "~1";
        } else if (byte <= 0x20 || byte == 0x7f || c == '%' || c == '#' || c == '*' || c == '<' || c == '>') {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", byte);
            ioKey += hex;
        } else {
            ioKey += c;
        }
    }
}

}  // namespace

UserCodeKeys::UserCodeKeys(const std::string& iMembers)
{
    size_t start = 0;
    while (start <= iMembers.size()) {
        size_t comma = iMembers.find(',', start);
        if (comma == std::string::npos) comma = iMembers.size();
        if (comma > start) _members.push_back(iMembers.substr(start, comma - start));
        start = comma + 1;
    }
}

UserCodeKeys::Identity UserCodeKeys::Of(const MTLIModelObject* iOwner, const std::string& iSectionName) const
{
    Identity identity;
    const JsonModelObject* object = dynamic_cast<const JsonModelObject*>(iOwner);
    if (object == nullptr) return identity;
    identity.pointer = object->Pointer();
    std::vector<std::string> segments;
    for (; object->Parent() != nullptr; object = object->Parent()) {
        std::string segment = object->Token();
        if (object->Parent()->IsArray()) {
            bool named = false;
            for (const std::string& member : _members) {
                std::string text;
                if (object->StringOrNumberMember(member, text) && !text.empty()) {
                    segment = std::move(text);
                    named = true;
                    break;
                }
            }
            if (!named) identity.positional = true;
        }
        segments.push_back(std::move(segment));
    }
    for (auto segment = segments.rbegin(); segment != segments.rend(); ++segment) {
        identity.key += '/';
        AppendEscaped(identity.key, *segment);
    }
    if (identity.key.empty()) identity.key = "/";
    if (!iSectionName.empty()) {
        identity.key += '#';
        AppendEscaped(identity.key, iSectionName);
    }
    return identity;
}
