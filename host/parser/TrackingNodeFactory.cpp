#include "TrackingNodeFactory.h"

#include "MTTIExpression.h"
#include "MTTIStatement.h"

MTTIStatement* TrackingNodeFactory::makeStatText(MTTString* iText)
{
    return Track(MTTNodeFactory::makeStatText(iText));
}

MTTIExpression* TrackingNodeFactory::makeExpProperty(ListOfMTTString& iPath, bool iRelative, MTTString& iName)
{
    return Track(MTTNodeFactory::makeExpProperty(iPath, iRelative, iName));
}

MTTIExpression* TrackingNodeFactory::makeExpString(MTTString* iText, bool iQuoted)
{
    return Track(MTTNodeFactory::makeExpString(iText, iQuoted));
}

MTTIExpression* TrackingNodeFactory::makeExpVariable(MTTString* iName)
{
    return Track(MTTNodeFactory::makeExpVariable(iName));
}

MTTIExpression* TrackingNodeFactory::makeExpEquals(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Track(MTTNodeFactory::makeExpEquals(iLhs, iRhs));
}

MTTIExpression* TrackingNodeFactory::makeExpNotEquals(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Track(MTTNodeFactory::makeExpNotEquals(iLhs, iRhs));
}

MTTIExpression* TrackingNodeFactory::makeExpAnd(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Track(MTTNodeFactory::makeExpAnd(iLhs, iRhs));
}

MTTIExpression* TrackingNodeFactory::makeExpOr(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Track(MTTNodeFactory::makeExpOr(iLhs, iRhs));
}

MTTIExpression* TrackingNodeFactory::makeExpLeq(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Track(MTTNodeFactory::makeExpLeq(iLhs, iRhs));
}

MTTIExpression* TrackingNodeFactory::makeExpGeq(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Track(MTTNodeFactory::makeExpGeq(iLhs, iRhs));
}

MTTIExpression* TrackingNodeFactory::makeExpGt(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Track(MTTNodeFactory::makeExpGt(iLhs, iRhs));
}

MTTIExpression* TrackingNodeFactory::makeExpLt(MTTIExpression* iLhs, MTTIExpression* iRhs)
{
    return Track(MTTNodeFactory::makeExpLt(iLhs, iRhs));
}

MTTIExpression* TrackingNodeFactory::makeExpDefined(MTTIExpression* iArg)
{
    return Track(MTTNodeFactory::makeExpDefined(iArg));
}

MTTIExpression* TrackingNodeFactory::makeExpNot(MTTIExpression* iArg)
{
    return Track(MTTNodeFactory::makeExpNot(iArg));
}

MTTIStatement* TrackingNodeFactory::makeStatIf(MTTIExpression* iCondition, MTTIStatement* iThen, MTTIStatement* iElse)
{
    return Track(MTTNodeFactory::makeStatIf(iCondition, iThen, iElse));
}

MTTIStatement* TrackingNodeFactory::makeStatForeach(MTTIExpression* iList, MTTIStatement* iAction)
{
    return Track(MTTNodeFactory::makeStatForeach(iList, iAction));
}

MTTIStatement* TrackingNodeFactory::makeStatUsercode(MTTIExpression* iOwner)
{
    _userCode = true;
    return Track(MTTNodeFactory::makeStatUsercode(iOwner));
}

MTTIStatement* TrackingNodeFactory::makeStatExpression(MTTIExpression* iExpression)
{
    return Track(MTTNodeFactory::makeStatExpression(iExpression));
}

MTTIStatement* TrackingNodeFactory::makeStatFunctionCall(MTTString* iName, ListOfMTTIExpression& iArguments)
{
    return Track(MTTNodeFactory::makeStatFunctionCall(iName, iArguments));
}

MTTIStatement* TrackingNodeFactory::makeStatFunctionDecl(MTTString* iName, ListOfMTTString& iParameters,
                                                         MTTIStatement* iBody)
{
    return Track(MTTNodeFactory::makeStatFunctionDecl(iName, iParameters, iBody));
}

MTTIStatement* TrackingNodeFactory::makeStatList()
{
    return Track(MTTNodeFactory::makeStatList());
}

MTTIStatement* TrackingNodeFactory::makeStatSpecialText(MTTString* iIdentifier)
{
    return Track(MTTNodeFactory::makeStatSpecialText(iIdentifier));
}

MTTIStatement* TrackingNodeFactory::makeStatComment(MTTString* iComment)
{
    return Track(MTTNodeFactory::makeStatComment(iComment));
}

MTTIStatement* TrackingNodeFactory::makeStatBeginStatement()
{
    return Track(MTTNodeFactory::makeStatBeginStatement());
}

MTTIStatement* TrackingNodeFactory::makeStatEndStatement()
{
    return Track(MTTNodeFactory::makeStatEndStatement());
}

MTTIStatement* TrackingNodeFactory::makeStatAssign(MTTString* iName, MTTIExpression* iValue)
{
    return Track(MTTNodeFactory::makeStatAssign(iName, iValue));
}

MTTIStatement* TrackingNodeFactory::makeStatAppend(MTTString* iName, MTTIExpression* iValue)
{
    return Track(MTTNodeFactory::makeStatAppend(iName, iValue));
}

MTTIStatement* TrackingNodeFactory::makeStatOrEquals(MTTString* iName, MTTIExpression* iValue)
{
    return Track(MTTNodeFactory::makeStatOrEquals(iName, iValue));
}

MTTIStatement* TrackingNodeFactory::makeStatDeclare(MTTString* iName, int iType)
{
    return Track(MTTNodeFactory::makeStatDeclare(iName, iType));
}
