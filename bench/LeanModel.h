#ifndef LEANMODEL_H
#define LEANMODEL_H

#include <memory>
#include <vector>

#include "BenchDataset.h"
#include "LeanModelObject.h"

// The dataset as LeanModelObjects: a root with a "classes" list, classes
// with a "name" and an "attributes" list, attributes with "name" and "type".
class LeanModel {
public:
    explicit LeanModel(const BenchDataset& iDataset);

    MTLIModelObject* Root() { return _root; }

private:
    LeanModelObject* Make(int iKind);

    std::vector<std::unique_ptr<LeanModelObject>> _objects;
    LeanModelObject* _root;
};

#endif
