#ifndef JSONEVENTLOG_H
#define JSONEVENTLOG_H

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "JsonTextEvents.h"

// What a reader reports, one event a line, in order. A mapping that gives a
// key twice is refused when it closes, as the model's builder refuses it.
class JsonEventLog : public JsonTextEvents {
public:
    std::string text;

    void OpenArray() override { Open("[\n"); }
    void OpenObject() override { Open("{\n"); }
    void Key(std::string_view iName) override
    {
        Add("key ", iName);
        if (!_keys.back().insert(std::string(iName)).second) _twice.back() = true;
    }
    void String(std::string_view iText) override { Add("string ", iText); }
    void Number(std::string_view iText) override { Add("number ", iText); }
    void Boolean(bool iValue) override { text += iValue ? "true\n" : "false\n"; }
    void Null() override { text += "null\n"; }
    bool Close() override
    {
        text += "close\n";
        const bool twice = _twice.back();
        _keys.pop_back();
        _twice.pop_back();
        return !twice;
    }

private:
    void Open(const char* iWhat)
    {
        text += iWhat;
        _keys.emplace_back();
        _twice.push_back(false);
    }

    void Add(const char* iWhat, std::string_view iText)
    {
        text += iWhat;
        text += std::to_string(iText.size()) + ":";
        text.append(iText.data(), iText.size());
        text += '\n';
    }

    std::vector<std::unordered_set<std::string>> _keys;
    std::vector<bool> _twice;
};

#endif
