#include "BaselineRenderer.h"

std::string BaselineRenderer::Render(const BenchDataset& iDataset)
{
    std::string text;
    for (const BenchDataset::Class& cls : iDataset.Classes()) {
        text += "class ";
        text += cls.name;
        text += " {\n";
        for (const BenchDataset::Attribute& attribute : cls.attributes) {
            text += "  ";
            if (attribute.type == "string") {
                text += "KORUnicodeString";
            } else {
                text += attribute.type;
            }
            text += ' ';
            text += attribute.name;
            text += ";\n";
        }
        text += "};\n\n";
    }
    return text;
}
