#ifndef TRACKINGNODEFACTORY_H
#define TRACKINGNODEFACTORY_H

#include <string>
#include <unordered_map>

#include "MTTNodeFactory.h"
#include "SourceMap.h"

// The parser's factory: every node it makes is recorded in the source map
// with the span the parser is working on, so that no node kind can be
// forgotten.
class TrackingNodeFactory : public MTTNodeFactory {
public:
    // iRecord false: nodes are not recorded (the map finds them later).
    TrackingNodeFactory(SourceMap& ioMap, bool iRecord) : _map(ioMap), _record(iRecord) {}

    // The span given to the nodes made from now on.
    void SetSpan(const SourceSpan& iSpan) { _span = iSpan; }
    const SourceSpan& Span() const { return _span; }
    // Whether a usercode statement was made: only then does evaluation need
    // the output tree to find the sections.
    bool MadeUserCode() const { return _userCode; }
    // The names given to usercode statements ([% usercode as "NAME" %]),
    // which let one owner have several sections.
    void NameUserCode(const MTTIStatement* iStatement, std::string iName) { _userCodeNames[iStatement] = iName; }
    std::unordered_map<const MTTIStatement*, std::string> TakeUserCodeNames() { return std::move(_userCodeNames); }

    MTTIStatement* makeStatText(MTTString* iText) override;
    MTTIExpression* makeExpProperty(ListOfMTTString& iPath, bool iRelative, MTTString& iName) override;
    MTTIExpression* makeExpString(MTTString* iText, bool iQuoted) override;
    MTTIExpression* makeExpVariable(MTTString* iName) override;
    MTTIExpression* makeExpEquals(MTTIExpression* iLhs, MTTIExpression* iRhs) override;
    MTTIExpression* makeExpNotEquals(MTTIExpression* iLhs, MTTIExpression* iRhs) override;
    MTTIExpression* makeExpAnd(MTTIExpression* iLhs, MTTIExpression* iRhs) override;
    MTTIExpression* makeExpOr(MTTIExpression* iLhs, MTTIExpression* iRhs) override;
    MTTIExpression* makeExpLeq(MTTIExpression* iLhs, MTTIExpression* iRhs) override;
    MTTIExpression* makeExpGeq(MTTIExpression* iLhs, MTTIExpression* iRhs) override;
    MTTIExpression* makeExpGt(MTTIExpression* iLhs, MTTIExpression* iRhs) override;
    MTTIExpression* makeExpLt(MTTIExpression* iLhs, MTTIExpression* iRhs) override;
    MTTIExpression* makeExpDefined(MTTIExpression* iArg) override;
    MTTIExpression* makeExpNot(MTTIExpression* iArg) override;
    MTTIStatement* makeStatIf(MTTIExpression* iCondition, MTTIStatement* iThen, MTTIStatement* iElse) override;
    MTTIStatement* makeStatForeach(MTTIExpression* iList, MTTIStatement* iAction) override;
    MTTIStatement* makeStatUsercode(MTTIExpression* iOwner) override;
    MTTIStatement* makeStatExpression(MTTIExpression* iExpression) override;
    MTTIStatement* makeStatFunctionCall(MTTString* iName, ListOfMTTIExpression& iArguments) override;
    MTTIStatement* makeStatFunctionDecl(MTTString* iName, ListOfMTTString& iParameters, MTTIStatement* iBody) override;
    MTTIStatement* makeStatList() override;
    MTTIStatement* makeStatSpecialText(MTTString* iIdentifier) override;
    MTTIStatement* makeStatComment(MTTString* iComment) override;
    MTTIStatement* makeStatBeginStatement() override;
    MTTIStatement* makeStatEndStatement() override;
    MTTIStatement* makeStatAssign(MTTString* iName, MTTIExpression* iValue) override;
    MTTIStatement* makeStatAppend(MTTString* iName, MTTIExpression* iValue) override;
    MTTIStatement* makeStatOrEquals(MTTString* iName, MTTIExpression* iValue) override;
    MTTIStatement* makeStatDeclare(MTTString* iName, int iType) override;

private:
    template <class Node>
    Node* Track(Node* iNode)
    {
        if (_record) _map.Record(iNode, _span);
        return iNode;
    }

    SourceMap& _map;
    SourceSpan _span;
    bool _record;
    bool _userCode = false;
    std::unordered_map<const MTTIStatement*, std::string> _userCodeNames;
};

#endif
