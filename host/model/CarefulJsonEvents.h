#ifndef CAREFULJSONEVENTS_H
#define CAREFULJSONEVENTS_H

#include <cstddef>
#include <string>

#include <nlohmann/json.hpp>

#include "JsonTextEvents.h"

// nlohmann/json's parser reporting a text as the careful reader of
// mtt_json_builder.h hears it: in the text's order (where its document
// would hold members sorted), numbers as it writes them back, to any
// listener.
class CarefulJsonEvents : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit CarefulJsonEvents(JsonTextEvents& ioEvents) : _events(ioEvents) {}

    // The whole of iText heard; false when it is malformed or the listener
    // refused a Close.
    static bool Hear(const std::string& iText, JsonTextEvents& ioEvents)
    {
        CarefulJsonEvents careful(ioEvents);
        return nlohmann::json::sax_parse(iText, &careful);
    }

    bool null() override { return _events.Null(), true; }
    bool boolean(bool iValue) override { return _events.Boolean(iValue), true; }
    bool number_integer(number_integer_t iValue) override { return _events.Number(std::to_string(iValue)), true; }
    bool number_unsigned(number_unsigned_t iValue) override { return _events.Number(std::to_string(iValue)), true; }
    bool number_float(number_float_t iValue, const string_t&) override
    {
        return _events.Number(nlohmann::json(iValue).dump()), true;
    }
    bool string(string_t& iText) override { return _events.String(iText), true; }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override { return _events.OpenObject(), true; }
    bool key(string_t& iName) override { return _events.Key(iName), true; }
    bool end_object() override { return _events.Close(); }
    bool start_array(std::size_t) override { return _events.OpenArray(), true; }
    bool end_array() override { return _events.Close(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    JsonTextEvents& _events;
};

#endif
