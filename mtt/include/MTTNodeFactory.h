#ifndef MTTNODEFACTORY_H
#define MTTNODEFACTORY_H

#include "ListOfMTTIExpression.h"
#include "ListOfMTTString.h"
#include "MTTExport.h"
#include "MTTString.h"

class MTTIExpression;
class MTTIStatement;

// Builds syntax trees for a parser, children first. Every make operation
// creates one node and returns it: child nodes passed in are taken over by
// the new node (null is stored as it is), strings and string lists are
// copied, and an argument list is copied as a list of pointers whose
// expressions the new call node takes over (the caller keeps its list
// object and must not delete the expressions). A null string pointer counts
// as the empty string.
//
// The factory only keeps a pointer to the finished tree (setTree/getTree);
// it never owns or deletes it.
class MTT_EXPORT MTTNodeFactory {
public:
    MTTNodeFactory();
    MTTNodeFactory(const MTTNodeFactory& iOther);
    MTTNodeFactory& operator=(const MTTNodeFactory& iOther);
    virtual ~MTTNodeFactory();

    virtual MTTIStatement* makeStatText(MTTString* iText);
    virtual MTTIExpression* makeExpProperty(ListOfMTTString& iPath, bool iRelative, MTTString& iName);
    virtual MTTIExpression* makeExpString(MTTString* iText, bool iQuoted);
    virtual MTTIExpression* makeExpVariable(MTTString* iName);
    virtual MTTIExpression* makeExpEquals(MTTIExpression* iLhs, MTTIExpression* iRhs);
    virtual MTTIExpression* makeExpNotEquals(MTTIExpression* iLhs, MTTIExpression* iRhs);
    virtual MTTIExpression* makeExpAnd(MTTIExpression* iLhs, MTTIExpression* iRhs);
    virtual MTTIExpression* makeExpOr(MTTIExpression* iLhs, MTTIExpression* iRhs);
    virtual MTTIExpression* makeExpLeq(MTTIExpression* iLhs, MTTIExpression* iRhs);
    virtual MTTIExpression* makeExpGeq(MTTIExpression* iLhs, MTTIExpression* iRhs);
    virtual MTTIExpression* makeExpGt(MTTIExpression* iLhs, MTTIExpression* iRhs);
    virtual MTTIExpression* makeExpLt(MTTIExpression* iLhs, MTTIExpression* iRhs);
    virtual MTTIExpression* makeExpDefined(MTTIExpression* iArg);
    virtual MTTIExpression* makeExpNot(MTTIExpression* iArg);
    virtual MTTIStatement* makeStatIf(MTTIExpression* iCondition, MTTIStatement* iThen, MTTIStatement* iElse);
    virtual MTTIStatement* makeStatForeach(MTTIExpression* iList, MTTIStatement* iAction);
    virtual MTTIStatement* makeStatUsercode(MTTIExpression* iOwner);
    virtual MTTIStatement* makeStatExpression(MTTIExpression* iExpression);
    virtual MTTIStatement* makeStatFunctionCall(MTTString* iName, ListOfMTTIExpression& iArguments);
    virtual MTTIStatement* makeStatFunctionDecl(MTTString* iName, ListOfMTTString& iParameters, MTTIStatement* iBody);
    virtual MTTIStatement* makeStatList();
    virtual MTTIStatement* makeStatSpecialText(MTTString* iIdentifier);
    virtual MTTIStatement* makeStatComment(MTTString* iComment);
    virtual MTTIStatement* makeStatBeginStatement();
    virtual MTTIStatement* makeStatEndStatement();
    virtual MTTIStatement* makeStatAssign(MTTString* iName, MTTIExpression* iValue);
    virtual MTTIStatement* makeStatAppend(MTTString* iName, MTTIExpression* iValue);
    virtual MTTIStatement* makeStatOrEquals(MTTString* iName, MTTIExpression* iValue);
    virtual MTTIStatement* makeStatDeclare(MTTString* iName, int iType);  // an MTTExpVariableType

    // Stores the root, replacing (not deleting) the previous one.
    virtual void setTree(MTTIStatement* iTree);
    virtual MTTIStatement* getTree();

private:
    MTTIStatement* _tree;
};

#endif
