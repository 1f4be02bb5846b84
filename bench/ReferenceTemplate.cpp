#include "ReferenceTemplate.h"

#include <initializer_list>

#include "ListOfMTTString.h"
#include "MTTIStatement.h"
#include "MTTNodeFactory.h"
#include "MTTString.h"

namespace {

MTTIExpression* Property(MTTNodeFactory& ioFactory, const char* iPathElement, const char* iName)
{
    ListOfMTTString path;
    if (iPathElement != nullptr) path.Append(MTTString(iPathElement));
    MTTString name(iName);
    return ioFactory.makeExpProperty(path, true, name);
}

MTTIStatement* Text(MTTNodeFactory& ioFactory, const char* iText)
{
    MTTString text(iText);
    return ioFactory.makeStatText(&text);
}

MTTIStatement* Value(MTTNodeFactory& ioFactory, const char* iName)
{
    return ioFactory.makeStatExpression(Property(ioFactory, nullptr, iName));
}

MTTIStatement* List(MTTNodeFactory& ioFactory, std::initializer_list<MTTIStatement*> iStatements)
{
    MTTIStatement* list = ioFactory.makeStatList();
    for (MTTIStatement* statement : iStatements) list = list->Append(statement);
    return list;
}

}  // namespace

MTTIStatement* ReferenceTemplate::BuildLoop(MTTNodeFactory& ioFactory)
{
    MTTString stringType("string");
    MTTIExpression* isString =
        ioFactory.makeExpEquals(Property(ioFactory, nullptr, "type"), ioFactory.makeExpString(&stringType, true));
    MTTIStatement* typeText =
        ioFactory.makeStatIf(isString, Text(ioFactory, "KORUnicodeString"), Value(ioFactory, "type"));
    MTTIStatement* attributeLine = List(ioFactory, {Text(ioFactory, "  "), typeText, Text(ioFactory, " "),
                                                    Value(ioFactory, "name"), Text(ioFactory, ";\n")});
    MTTIStatement* attributeLoop = ioFactory.makeStatForeach(Property(ioFactory, "attributes", ""), attributeLine);
    MTTIStatement* classBlock = List(ioFactory, {Text(ioFactory, "class "), Value(ioFactory, "name"),
                                                 Text(ioFactory, " {\n"), attributeLoop, Text(ioFactory, "};\n\n")});
    return ioFactory.makeStatForeach(Property(ioFactory, "classes", ""), classBlock);
}

MTTIStatement* ReferenceTemplate::Build()
{
    return BuildRepeated(1);
}

MTTIStatement* ReferenceTemplate::BuildRepeated(int iCopies)
{
    MTTNodeFactory factory;
    MTTIStatement* root = factory.makeStatList();
    for (int i = 0; i < iCopies; ++i) root = root->Append(BuildLoop(factory));
    factory.setTree(root);
    return factory.getTree();
}
