#ifndef MTT_VALUE_REF_CACHE_H
#define MTT_VALUE_REF_CACHE_H

// Parsed value references by their text, so that a reference used in a loop
// is parsed once; the expressions and selections that some stand for are
// parsed here too (mtt_value_ref.h). Header-only, C++17, standard library
// only.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "mtt_expression.h"
#include "mtt_expression_reader.h"
#include "mtt_selection.h"
#include "mtt_value_ref.h"

namespace mtt_runtime {

class ValueRefCache {
public:
    // Lives as long as the cache. A hit neither allocates nor copies iText.
    const ValueRef& Get(std::string_view iText)
    {
        auto found = _refs.find(iText);
        if (found != _refs.end()) return found->second->ref;
        std::unique_ptr<Entry> entry(new Entry{std::string(iText), ValueRef::Parse(iText)});
        ValueRef& ref = entry->ref;
        switch (ref.GetBase()) {
        case ValueRef::kComputed:
        case ValueRef::kTest: ref.Attach(std::shared_ptr<const Expression>(ExpressionReader::Read(ref.Name()))); break;
        case ValueRef::kSelection: ref.Attach(Selection::Read(ref.Name())); break;
        default: break;
        }
        const std::string_view key(entry->text);  // the entry's own copy: stable
        _refs.emplace(key, std::move(entry));
        return ref;
    }

private:
    struct Entry {
        std::string text;
        ValueRef ref;
    };
    std::unordered_map<std::string_view, std::unique_ptr<Entry>> _refs;
};

}  // namespace mtt_runtime

#endif
