#include "LoopTemplates.h"

#include <string>

#include "ListOfMTTIExpression.h"
#include "ListOfMTTString.h"
#include "MTTExpVariableType.h"
#include "MTTIStatement.h"
#include "MTTNodeFactory.h"
#include "MTTString.h"

const char* const LoopTemplates::kPiece = "0123456789abcdefghijklmnopqrstuvwxyz.;:!";

namespace {

MTTIStatement* Items(MTTNodeFactory& ioFactory, MTTIStatement* iBody)
{
    ListOfMTTString path;
    path.Append(MTTString("items"));
    MTTString name;
    return ioFactory.makeStatForeach(ioFactory.makeExpProperty(path, true, name), iBody);
}

MTTIExpression* Text(MTTNodeFactory& ioFactory, const char* iText)
{
    MTTString text(iText);
    return ioFactory.makeExpString(&text, true);
}

}  // namespace

MTTIStatement* LoopTemplates::Growing(bool iOrEquals)
{
    MTTNodeFactory factory;
    MTTString name("s");
    MTTIStatement* update = iOrEquals ? factory.makeStatOrEquals(&name, Text(factory, kPiece))
                                      : factory.makeStatAppend(&name, Text(factory, kPiece));
    MTTIStatement* root = factory.makeStatList();
    root = root->Append(factory.makeStatDeclare(&name, iOrEquals ? MTTVarInteger : MTTVarString));
    root = root->Append(Items(factory, update));
    return root->Append(factory.makeStatExpression(factory.makeExpVariable(&name)));
}

MTTIStatement* LoopTemplates::Calling(int iFunctions)
{
    MTTNodeFactory factory;
    MTTIStatement* root = factory.makeStatList();
    MTTString parameter("p");
    ListOfMTTString parameters;
    parameters.Append(parameter);
    for (int i = 0; i < iFunctions; ++i) {
        MTTString name(("f" + std::to_string(i)).c_str());
        MTTIStatement* body = i + 1 < iFunctions ? factory.makeStatList()
                                                 : factory.makeStatExpression(factory.makeExpVariable(&parameter));
        root = root->Append(factory.makeStatFunctionDecl(&name, parameters, body));
    }
    MTTString last(("f" + std::to_string(iFunctions - 1)).c_str());
    ListOfMTTIExpression arguments;
    arguments.Append(Text(factory, "x"));
    return root->Append(Items(factory, factory.makeStatFunctionCall(&last, arguments)));
}
