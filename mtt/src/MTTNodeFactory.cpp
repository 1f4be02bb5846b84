#include "MTTNodeFactory.h"

#include "MTTNodeClasses.h"

namespace {

// A null string pointer counts as the empty string.
// A reference, not a copy: the node makes the one copy it keeps.
const MTTString& Text(const MTTString* iText)
{
    static const MTTString empty;
    return iText != nullptr ? *iText : empty;
}

}  // namespace

MTTNodeFactory::MTTNodeFactory() : _tree(nullptr) {}

MTTNodeFactory::MTTNodeFactory(const MTTNodeFactory& iOther) : _tree(iOther._tree) {}

MTTNodeFactory& MTTNodeFactory::operator=(const MTTNodeFactory& iOther)
{
    _tree = iOther._tree;
    return *this;
}

MTTNodeFactory::~MTTNodeFactory()
{
    _tree = nullptr;
}

MTTIStatement* MTTNodeFactory::makeStatText(MTTString* iText)
{
    return new MTTStatText(Text(iText));
}

MTTIExpression* MTTNodeFactory::makeExpProperty(ListOfMTTString& iPath, bool iRelative, MTTString& iName)
{
    return new MTTExpProperty(iPath, iRelative, iName);
}

MTTIExpression* MTTNodeFactory::makeExpString(MTTString* iText, bool iQuoted)
{
    return new MTTExpString(Text(iText), iQuoted);
}

MTTIExpression* MTTNodeFactory::makeExpVariable(MTTString* iName)
{
    return new MTTExpVariable(Text(iName));
}

MTTIExpression* MTTNodeFactory::makeExpEquals(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return new MTTExpEquals(iLhs, iRhs);
}

MTTIExpression* MTTNodeFactory::makeExpNotEquals(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return new MTTExpNotEquals(iLhs, iRhs);
}

MTTIExpression* MTTNodeFactory::makeExpAnd(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return new MTTExpAnd(iLhs, iRhs);
}

MTTIExpression* MTTNodeFactory::makeExpOr(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return new MTTExpOr(iLhs, iRhs);
}

MTTIExpression* MTTNodeFactory::makeExpLeq(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return new MTTExpLEQ(iLhs, iRhs);
}

MTTIExpression* MTTNodeFactory::makeExpGeq(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return new MTTExpGEQ(iLhs, iRhs);
}

MTTIExpression* MTTNodeFactory::makeExpGt(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return new MTTExpGT(iLhs, iRhs);
}

MTTIExpression* MTTNodeFactory::makeExpLt(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return new MTTExpLT(iLhs, iRhs);
}

MTTIExpression* MTTNodeFactory::makeExpDefined(MTTIExpression* iArg)
{
    return new MTTExpDefined(iArg);
}

MTTIExpression* MTTNodeFactory::makeExpNot(MTTIExpression* iArg)
{
    return new MTTExpNot(iArg);
}

MTTIStatement* MTTNodeFactory::makeStatIf(MTTIExpression* iCondition, MTTIStatement* iThen, MTTIStatement* iElse)
{
    return new MTTStatIf(iCondition, iThen, iElse);
}

MTTIStatement* MTTNodeFactory::makeStatForeach(MTTIExpression* iList, MTTIStatement* iAction)
{
    return new MTTStatForeach(iList, iAction);
}

MTTIStatement* MTTNodeFactory::makeStatUsercode(MTTIExpression* iOwner)
{
    return new MTTStatUsercode(iOwner);
}

MTTIStatement* MTTNodeFactory::makeStatExpression(MTTIExpression* iExpression)
{
    return new MTTStatExpression(iExpression);
}

MTTIStatement* MTTNodeFactory::makeStatFunctionCall(MTTString* iName, ListOfMTTIExpression& iArguments)
{
    return new MTTStatFunctionCall(Text(iName), iArguments);
}

MTTIStatement* MTTNodeFactory::makeStatFunctionDecl(MTTString* iName, ListOfMTTString& iParameters,
                                                    MTTIStatement* iBody)
{
    return new MTTStatFunctionDecl(Text(iName), iParameters, iBody);
}

MTTIStatement* MTTNodeFactory::makeStatList()
{
    return new MTTStatList();
}

MTTIStatement* MTTNodeFactory::makeStatSpecialText(MTTString* iIdentifier)
{
    return new MTTStatSpecialText(Text(iIdentifier));
}

MTTIStatement* MTTNodeFactory::makeStatComment(MTTString* iComment)
{
    return new MTTStatComment(Text(iComment));
}

MTTIStatement* MTTNodeFactory::makeStatBeginStatement()
{
    return new MTTStatBeginStatement();
}

MTTIStatement* MTTNodeFactory::makeStatEndStatement()
{
    return new MTTStatEndStatement();
}

MTTIStatement* MTTNodeFactory::makeStatAssign(MTTString* iName, MTTIExpression* iValue)
{
    return new MTTStatAssign(Text(iName), iValue);
}

MTTIStatement* MTTNodeFactory::makeStatAppend(MTTString* iName, MTTIExpression* iValue)
{
    return new MTTStatAppend(Text(iName), iValue);
}

MTTIStatement* MTTNodeFactory::makeStatOrEquals(MTTString* iName, MTTIExpression* iValue)
{
    return new MTTStatOrEquals(Text(iName), iValue);
}

MTTIStatement* MTTNodeFactory::makeStatDeclare(MTTString* iName, int iType)
{
    return new MTTStatDeclareVariable(Text(iName), static_cast<MTTExpVariableType>(iType));
}

void MTTNodeFactory::setTree(MTTIStatement* iTree)
{
    _tree = iTree;
}

MTTIStatement* MTTNodeFactory::getTree()
{
    return _tree;
}
