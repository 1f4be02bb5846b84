#ifndef JSONMODELSELECTION_H
#define JSONMODELSELECTION_H

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class JsonModelObject;

// What the selections of loops ([% foreach fields where ... sort ... %]) add
// to the objects of a JsonModel, made on first need and kept as long as the
// model, like the objects themselves. Three objects take part:
//   - the list, which keeps its views by the selection's text;
//   - a view: an object for the same array, whose elements are the ones the
//     selection keeps, in its order;
//   - an element of a view: an object for the same node, parent and name as
//     the element of the list (so that it has the same JSON pointer and
//     user-code key), but whose loop values are its place in the view.
class JsonModelSelection {
public:
    // On a list.
    std::unordered_map<std::string, std::unique_ptr<JsonModelObject>> views;
    // On a view (whose original is the list).
    bool isView = false;
    std::vector<std::unique_ptr<JsonModelObject>> elements;
    // On a view and on an element of a view: the list's own object for the
    // node, which answers everything but the loop values. On an element, its
    // place in the view.
    JsonModelObject* original = nullptr;
    std::size_t index = 0;
    std::size_t count = 0;
};

#endif
