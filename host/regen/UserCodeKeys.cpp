#include "UserCodeKeys.h"

#include <cstdio>
#include <string_view>

#include "JsonModelObject.h"

namespace {

bool NeedsEscape(char c)
{
    const unsigned char byte = static_cast<unsigned char>(c);
    return c == '~' || c == '/' || byte <= 0x20 || byte == 0x7f || c == '%' || c == '#' || c == '*' || c == '<' ||
           c == '>';
}

// A name or value, the usual one, needs no escape: it is appended whole.
void AppendEscaped(std::string& ioKey, std::string_view iSegment)
{
    size_t done = 0;
    for (size_t i = 0; i < iSegment.size(); ++i) {
        const char c = iSegment[i];
        if (!NeedsEscape(c)) continue;
        ioKey.append(iSegment.substr(done, i - done));
        done = i + 1;
        if (c == '~') {
            ioKey += "~0";
        } else if (c == '/') {
            ioKey += "~1";
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
            ioKey += hex;
        }
    }
    ioKey.append(iSegment.substr(done));
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
    // The key and the pointer in one walk from the root's child down, of
    // views of the model's names and texts: a file has a key per section,
    // tens of thousands in a large one.
    std::vector<const JsonModelObject*> path;
    path.reserve(8);
    identity.key.reserve(64);
    identity.pointer.reserve(64);
    for (; object->Parent() != nullptr; object = object->Parent()) path.push_back(object);
    char digits[16];
    for (auto at = path.rbegin(); at != path.rend(); ++at) {
        const JsonModelObject& step = **at;
        std::string_view segment = step.Token(digits);
        JsonModelObject::AppendPointerToken(identity.pointer, segment);
        if (step.Parent()->IsArray()) {
            bool named = false;
            for (const std::string& member : _members) {
                std::string_view text;
                if (step.StringOrNumberMember(member, text) && !text.empty()) {
                    segment = text;
                    named = true;
                    break;
                }
            }
            if (!named) identity.positional = true;
        }
        identity.key += '/';
        AppendEscaped(identity.key, segment);
    }
    if (identity.key.empty()) identity.key = "/";
    if (!iSectionName.empty()) {
        identity.key += '#';
        AppendEscaped(identity.key, iSectionName);
    }
    return identity;
}
