#include "CppLateEvaluator.h"

CppLateEvaluator::CppLateEvaluator(std::string iModelName) : _modelName(std::move(iModelName)) {}

std::string CppLateEvaluator::Literal(const char* iText)
{
    std::string literal = "\"";
    for (const char* p = iText == nullptr ? "" : iText; *p != '\0'; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        switch (c) {
        case '"': literal += "\\\""; break;
        case '\\': literal += "\\\\"; break;
        case '\n': literal += "\\n"; break;
        case '\t': literal += "\\t"; break;
        case '\r': literal += "\\r"; break;
        default:
            if (c < 0x20 || c == 0x7f) {
                char octal[5] = {'\\', static_cast<char>('0' + (c >> 6)), static_cast<char>('0' + ((c >> 3) & 7)),
                                 static_cast<char>('0' + (c & 7)), '\0'};
                literal += octal;
            } else {
                literal += static_cast<char>(c);
            }
        }
    }
    return literal + "\"";
}

MTTString CppLateEvaluator::LateProperty(const char* iPath, const char* iName)
{
    return MTTString((_modelName + ".Value(" + Literal(iPath) + ", " + Literal(iName) + ")").c_str());
}

MTTString CppLateEvaluator::LateListSize(const char* iPath)
{
    return MTTString((_modelName + ".Size(" + Literal(iPath) + ")").c_str());
}

MTTString CppLateEvaluator::LateEnterElement(const char* iPath, const char* iIndexName)
{
    return MTTString((_modelName + ".Enter(" + Literal(iPath) + ", " + (iIndexName == nullptr ? "" : iIndexName) + ")").c_str());
}

MTTString CppLateEvaluator::LateLeaveElement()
{
    return MTTString((_modelName + ".Leave()").c_str());
}
