#ifndef MTT_TEXT_H
#define MTT_TEXT_H

// What generated code gets from mtt_runtime::Model::Value: a model value's
// text, and whether its path reached an object. Header-only, C++17,
// standard library only.
//
// Generated code uses a Text the way immediate evaluation uses a property:
//   std::cout << t                      prints the text
//   t == "x", t < s, 42 != t, t == u    compares byte by byte, as text, with
//                                       another Text, a std::string, a C
//                                       string, an integer (its decimal text)
//                                       or a bool ("true"/"false")
//   if (t), (t && u), !t                true exactly when the path reached an
//                                       object (the value is not looked at)
//   std::string s = t                   converts to the text
// A path that reached nothing is reported on std::cerr when the text is
// first used, not when it is only tested, as immediate evaluation reports a
// missing object only where its value is read.

#include <iostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace mtt_runtime {

class Text {
public:
    Text() = default;
    // iProblem: the message to report when the text of an unreached path is
    // used (empty: report nothing).
    Text(std::string iText, bool iReached, std::string iProblem = std::string())
        : _text(std::move(iText)), _reached(iReached), _problem(std::move(iProblem))
    {
    }

    explicit operator bool() const { return _reached; }
    operator std::string() const { return Str(); }

    const std::string& Str() const
    {
        if (!_problem.empty()) {
            std::cerr << _problem;
            _problem.clear();
        }
        return _text;
    }

    friend std::ostream& operator<<(std::ostream& ioOut, const Text& iText) { return ioOut << iText.Str(); }

private:
    std::string _text;
    bool _reached = false;
    mutable std::string _problem;
};

namespace text_detail {

template <class T>
using Plain = std::decay_t<T>;

template <class T>
constexpr bool kIsText = std::is_same_v<Plain<T>, Text>;

template <class T>
constexpr bool kIsOperand =
    kIsText<T> || std::is_same_v<Plain<T>, std::string> || std::is_same_v<Plain<T>, const char*> ||
    std::is_same_v<Plain<T>, char*> || std::is_integral_v<Plain<T>>;

// Comparisons that involve a Text and something generated code compares
// it with.
template <class L, class R>
using IfTextComparison = std::enable_if_t<(kIsText<L> || kIsText<R>)&&kIsOperand<L> && kIsOperand<R>, bool>;

inline std::string_view Operand(const Text& iText)
{
    return iText.Str();
}
inline std::string_view Operand(const std::string& iText)
{
    return iText;
}
inline std::string_view Operand(const char* iText)
{
    return iText;
}
inline std::string_view Operand(bool iValue)
{
    return iValue ? "true" : "false";
}
template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
std::string Operand(T iValue)
{
    return std::to_string(iValue);
}

// Byte-wise, on unsigned bytes, like the library's comparisons.
template <class L, class R>
int Compare(const L& iLeft, const R& iRight)
{
    const auto& left = Operand(iLeft);
    const auto& right = Operand(iRight);
    return std::string_view(left).compare(std::string_view(right));
}

}  // namespace text_detail

template <class L, class R>
text_detail::IfTextComparison<L, R> operator==(const L& iLeft, const R& iRight)
{
    return text_detail::Compare(iLeft, iRight) == 0;
}
template <class L, class R>
text_detail::IfTextComparison<L, R> operator!=(const L& iLeft, const R& iRight)
{
    return text_detail::Compare(iLeft, iRight) != 0;
}
template <class L, class R>
text_detail::IfTextComparison<L, R> operator<(const L& iLeft, const R& iRight)
{
    return text_detail::Compare(iLeft, iRight) < 0;
}
template <class L, class R>
text_detail::IfTextComparison<L, R> operator<=(const L& iLeft, const R& iRight)
{
    return text_detail::Compare(iLeft, iRight) <= 0;
}
template <class L, class R>
text_detail::IfTextComparison<L, R> operator>(const L& iLeft, const R& iRight)
{
    return text_detail::Compare(iLeft, iRight) > 0;
}
template <class L, class R>
text_detail::IfTextComparison<L, R> operator>=(const L& iLeft, const R& iRight)
{
    return text_detail::Compare(iLeft, iRight) >= 0;
}

}  // namespace mtt_runtime

#endif
