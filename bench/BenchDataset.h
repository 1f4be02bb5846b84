#ifndef BENCHDATASET_H
#define BENCHDATASET_H

#include <cstdint>
#include <string>
#include <vector>

// The reference workload's data: classes, each with a name and attributes,
// each attribute with a name and a type. Generated from a fixed seed with
// the raw mt19937 output (the standard distributions differ between
// library implementations), so every machine renders the same text.
class BenchDataset {
public:
    struct Attribute {
        std::string name;
        std::string type;
    };
    struct Class {
        std::string name;
        std::vector<Attribute> attributes;
    };

    static BenchDataset Generate(int iClassCount, int iAttributeCount, std::uint32_t iSeed);

    const std::vector<Class>& Classes() const { return _classes; }
    // The same data as a JSON document: {"classes":[{"name":..,"attributes":[{"name":..,"type":..}]}]}.
    std::string ToJson() const;
    // The same again in YAML's block style, as YAML writers emit it.
    std::string ToYaml() const;

private:
    std::vector<Class> _classes;
};

#endif
