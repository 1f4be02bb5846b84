#ifndef MTT_SELECTION_H
#define MTT_SELECTION_H

// Which elements of a list a loop visits, and in which order:
// `[% foreach fields where ${required} sort ${name} %]`. The parser hands it
// to the model as the text after "*" of a path element (mtt_value_ref.h):
//
//   selection = [ "where" expression ] [ "sort" key { "," key } ]
//   key       = expression [ "desc" ]
//
// The condition and the keys are expressions (mtt_expression.h) evaluated on
// each element. Elements whose condition is false are left out; the others
// are sorted by the first key, then the next, ..., in the order of
// Expression::Compare (whole numbers first, numerically, then texts byte by
// byte), reversed by "desc". The sort is stable: elements with equal keys
// keep their order in the list. Header-only, C++17, standard library only.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mtt_expression.h"
#include "mtt_expression_reader.h"

namespace mtt_runtime {

class Selection {
public:
    // Null when iText does not follow the grammar.
    static std::shared_ptr<const Selection> Read(std::string_view iText)
    {
        std::shared_ptr<Selection> selection(new Selection());
        ExpressionReader reader(iText);
        if (reader.AcceptWord("where") && !(selection->_where = reader.Or())) return nullptr;
        if (reader.AcceptWord("sort")) {
            do {
                Key key;
                key.expression = reader.Or();
                if (!key.expression) return nullptr;
                key.descending = reader.AcceptWord("desc");
                selection->_keys.push_back(std::move(key));
            } while (reader.Accept(","));
        }
        if (!reader.AtEnd()) return nullptr;
        return selection;
    }

    // The positions, in the list of iCount elements, of the elements kept,
    // in their new order. iContextOf(i) gives the Expression::Context of
    // element i. On an error, oProblem says what went wrong.
    template <class ContextOf>
    std::vector<std::size_t> Select(std::size_t iCount, ContextOf&& iContextOf, std::string& oProblem) const
    {
        std::vector<std::size_t> kept;
        std::vector<std::vector<Value>> keys;
        for (std::size_t i = 0; i < iCount && oProblem.empty(); ++i) {
            Expression::Context& context = iContextOf(i);
            if (_where && !_where->Test(context, oProblem)) continue;
            kept.push_back(i);
            keys.emplace_back();
            for (const Key& key : _keys) keys.back().push_back(key.expression->Evaluate(context, oProblem));
        }
        if (!oProblem.empty()) return std::vector<std::size_t>();
        if (_keys.empty()) return kept;
        std::vector<std::size_t> order(kept.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t iLeft, std::size_t iRight) {
            for (std::size_t k = 0; k < _keys.size(); ++k) {
                const int compared = Expression::Compare(keys[iLeft][k], keys[iRight][k]);
                if (compared != 0) return _keys[k].descending ? compared > 0 : compared < 0;
            }
            return false;
        });
        std::vector<std::size_t> sorted;
        sorted.reserve(order.size());
        for (std::size_t i : order) sorted.push_back(kept[i]);
        return sorted;
    }

private:
    struct Key {
        Expression::Owner expression;
        bool descending = false;
    };

    Selection() = default;

    Expression::Owner _where;
    std::vector<Key> _keys;
};

}  // namespace mtt_runtime

#endif
