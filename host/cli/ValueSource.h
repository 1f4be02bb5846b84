#ifndef VALUESOURCE_H
#define VALUESOURCE_H

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "SourceMap.h"

class MTTIStatement;
class ModelNodeTable;

// Which model node a piece of generated text was read from. A piece
// written by a property ${ref:path} (or [%= ${ref:path} %]) read the member
// that the path and the ref reach from the piece's object; a function's
// parameter stands for the argument its call was given. Everything is
// found in the model's table from the template text, so the model is not
// asked again. -1 where the text says no more than "the current object"
// (a literal, an expression, a value computed from several).
class ValueSource {
public:
    // The template text of each call on a piece's chain, innermost first,
    // with its function's: what a parameter stands for.
    struct Call {
        std::string call;      // "[% call passed(${type}) %]"
        std::string function;  // "[% function passed(type) %]"
    };
    using CallChain = std::function<std::vector<Call>()>;

    explicit ValueSource(const ModelNodeTable& iTable) : _table(iTable) {}

    // iObject: the table number of the piece's object (-1: none). iCalls
    // is asked only for a parameter.
    // Inline for a statement met a moment ago, most often one that prints
    // no property: a large output has a million pieces.
    int32_t Find(const MTTIStatement* iStatement, const SourceMap& iMap, int32_t iObject, const CallChain& iCalls)
    {
        if (iStatement == nullptr || iObject < 0) return -1;
        const auto& recent = _recent[Recent(iStatement)];
        const Printed& printed =
            recent.first == iStatement && _map == &iMap ? *recent.second : Describe(iStatement, iMap);
        return printed.kind == Printed::Kind::kNothing ? -1 : Resolved(printed, iObject, iCalls);
    }

private:
    // A property, read once from its text: the steps of its path, and the
    // member its ref names (empty for the object itself), the names with
    // their numbers in the table.
    struct Property {
        bool valid = false;
        bool absolute = false;
        struct Step {
            enum class Kind : char { kMember, kIndex, kParent } kind;
            size_t index;
            uint32_t key;  // a member's name, or digits' as a member's
        };
        std::vector<Step> path;
        std::string member;
        uint32_t memberKey = 0;
    };
    // What a statement prints.
    struct Printed {
        enum class Kind : char { kNothing, kProperty, kParameter } kind = Kind::kNothing;
        Property property;
        std::string parameter;
    };

    // What a statement not among the recent ones prints, made once.
    const Printed& Describe(const MTTIStatement* iStatement, const SourceMap& iMap);
    int32_t Resolved(const Printed& iPrinted, int32_t iObject, const CallChain& iCalls) const;
    static size_t Recent(const MTTIStatement* iStatement)
    {
        return (reinterpret_cast<uintptr_t>(iStatement) >> 4) & 63;
    }
    Property Parse(const std::string& iContent) const;
    // The node that a property reaches from iObject.
    int32_t Resolve(const Property& iProperty, int32_t iObject) const;
    int32_t ResolveParameter(std::string iName, int32_t iObject, const CallChain& iCalls) const;

    const ModelNodeTable& _table;
    const SourceMap* _map = nullptr;
    std::unordered_map<const MTTIStatement*, Printed> _printed;
    // The statements met last (a line's pieces take turns).
    std::pair<const MTTIStatement*, const Printed*> _recent[64] = {};
};

#endif
