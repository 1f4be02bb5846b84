#include "BenchDataset.h"

#include <random>

namespace {

std::string RandomWord(std::mt19937& ioRandom, std::uint32_t iMinLength, std::uint32_t iMaxLength)
{
    std::uint32_t length = iMinLength + ioRandom() % (iMaxLength - iMinLength + 1);
    std::string word;
    for (std::uint32_t i = 0; i < length; ++i) word += static_cast<char>('a' + ioRandom() % 26);
    return word;
}

void AppendJsonString(std::string& ioJson, const std::string& iText)
{
    ioJson += '"';
    for (char c : iText) {
        if (c == '"' || c == '\\') ioJson += '\\';
        ioJson += c;
    }
    ioJson += '"';
}

}  // namespace

BenchDataset BenchDataset::Generate(int iClassCount, int iAttributeCount, std::uint32_t iSeed)
{
    std::mt19937 random(iSeed);
    BenchDataset dataset;
    dataset._classes.resize(static_cast<size_t>(iClassCount));
    for (Class& cls : dataset._classes) {
        cls.name = RandomWord(random, 6, 12);
        cls.name[0] = static_cast<char>(cls.name[0] - 'a' + 'A');
        cls.attributes.resize(static_cast<size_t>(iAttributeCount));
        for (int i = 0; i < iAttributeCount; ++i) {
            Attribute& attribute = cls.attributes[static_cast<size_t>(i)];
            attribute.name = RandomWord(random, 3, 7);
            if (i % 3 == 2) {
                attribute.type = "string";
            } else {
                attribute.type = random() % 2 == 0 ? "int" : "double";
            }
        }
    }
    return dataset;
}

std::string BenchDataset::ToJson() const
{
    std::string json = "{\"classes\":[";
    for (size_t c = 0; c < _classes.size(); ++c) {
        if (c > 0) json += ',';
        json += "{\"name\":";
        AppendJsonString(json, _classes[c].name);
        json += ",\"attributes\":[";
        const std::vector<Attribute>& attributes = _classes[c].attributes;
        for (size_t a = 0; a < attributes.size(); ++a) {
            if (a > 0) json += ',';
            json += "{\"name\":";
            AppendJsonString(json, attributes[a].name);
            json += ",\"type\":";
            AppendJsonString(json, attributes[a].type);
            json += '}';
        }
        json += "]}";
    }
    json += "]}\n";
    return json;
}

std::string BenchDataset::ToYaml() const
{
    // Names are lower-case letters and types plain words: nothing to quote.
    std::string yaml = "classes:\n";
    for (const Class& cls : _classes) {
        yaml += "- name: " + cls.name + "\n  attributes:\n";
        for (const Attribute& attribute : cls.attributes) {
            yaml += "  - name: " + attribute.name + "\n    type: " + attribute.type + "\n";
        }
    }
    return yaml;
}
