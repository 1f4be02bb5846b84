#ifndef JSONMODELSELECTION_H
#define JSONMODELSELECTION_H

#include <cstddef>
#include <memory>
#include <vector>

#include "JsonModelObject.h"

class JsonModelViewElement;

// What the selections of loops ([% foreach fields where ... sort ... %]) add
// to a JsonModel, made on first need and kept as long as the model, like
// the objects themselves. Three objects take part:
//   - the list, whose views the model keeps by the selection's text;
//   - a view: an object for the same array, whose elements are the ones the
//     selection keeps, in its order;
//   - an element of a view: an object for the same node, parent and name as
//     the element of the list (so that it has the same JSON pointer and
//     user-code key), but whose loop values are its place in the view.
// Both answer everything else as the list's own object (the element's) does.
class JsonModelView : public JsonModelObject {
public:
    explicit JsonModelView(JsonModelObject& iList);
    ~JsonModelView() override;

    int GetSize() override;
    MTLIModelObject* GetElement(int iIndex) override;

    // The next element; the model holds it.
    void Add(JsonModelViewElement& iElement);
    std::size_t Size() const { return _elements.size(); }

protected:
    JsonModelObject& Original() override { return _list; }

private:
    JsonModelObject& _list;
    std::vector<JsonModelViewElement*> _elements;
};

class JsonModelViewElement : public JsonModelObject {
public:
    JsonModelViewElement(const JsonModelView& iView, JsonModelObject& iElement, std::size_t iIndex);

protected:
    JsonModelObject& Original() override { return _element; }
    bool Position(mtt_runtime::ListPosition& oPosition) const override;

private:
    const JsonModelView& _view;
    JsonModelObject& _element;
    std::size_t _index;
};

#endif
