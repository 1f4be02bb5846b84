#ifndef JSONTEXTEVENTS_H
#define JSONTEXTEVENTS_H

#include <string_view>

// What JsonTextReader and YamlReader report of a document, value by value in
// document order: to the model's builder (whose type JsonTextReader knows, so
// that its calls are direct on every JSON model's path), or to another
// listener. Texts are unescaped; numbers come as the careful reader of
// mtt_json_builder.h writes them back.
class JsonTextEvents {
public:
    virtual ~JsonTextEvents() = default;

    virtual void OpenArray() = 0;
    virtual void OpenObject() = 0;
    virtual void Key(std::string_view iName) = 0;
    virtual void String(std::string_view iText) = 0;
    virtual void Number(std::string_view iText) = 0;
    virtual void Boolean(bool iValue) = 0;
    virtual void Null() = 0;
    // The array or object opened last ends; false stops the reading.
    virtual bool Close() = 0;
};

#endif
