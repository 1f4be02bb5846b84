#include "LeanModel.h"

LeanModel::LeanModel(const BenchDataset& iDataset) : _root(Make(0))
{
    LeanModelObject* classes = Make(1);
    _root->AddObject("classes", classes);
    for (const BenchDataset::Class& cls : iDataset.Classes()) {
        LeanModelObject* classObject = Make(0);
        classes->AddElement(classObject);
        classObject->AddText("name", MTTString(cls.name.c_str()));
        LeanModelObject* attributes = Make(1);
        classObject->AddObject("attributes", attributes);
        for (const BenchDataset::Attribute& attribute : cls.attributes) {
            LeanModelObject* attributeObject = Make(0);
            attributes->AddElement(attributeObject);
            attributeObject->AddText("name", MTTString(attribute.name.c_str()));
            attributeObject->AddText("type", MTTString(attribute.type.c_str()));
        }
    }
}

LeanModelObject* LeanModel::Make(int iKind)
{
    _objects.push_back(std::make_unique<LeanModelObject>(iKind));
    return _objects.back().get();
}
