#ifndef MTTEVALUATETEXT_H
#define MTTEVALUATETEXT_H

#include "MTTExport.h"
#include "MTTString.h"

class MTTEvaluationEnvironment;
class MTTIStatement;
class MTTIOutputListener;
class MTTITextPieceListener;

// Evaluates iRoot immediately, like iRoot->Evaluate(iEnvironment), and
// appends to ioText exactly the text that toString of that output would
// append, without building the output tree: for a host that needs only the
// text, it is several times faster and needs no memory beyond the text.
// It prints the same messages in the same order and changes the
// environment the same way. S_OK on success; E_FAIL where Evaluate would
// return null, with ioText as it was before the call.
//
// Statements of the host's own kinds inside the tree are evaluated and
// their outputs' text appended, as toString would.
MTT_EXPORT long MTTEvaluateText(MTTIStatement* iRoot, MTTEvaluationEnvironment* iEnvironment, MTTString& ioText);

// The same, and iUserCode (not owned; null for none) hears each piece a
// usercode directive writes, with its place in ioText: those of the
// library's usercode statements, and the leaves of usercode statements in
// the outputs of a host's own statements. On failure what it heard is
// void: ioText is cut back.
MTT_EXPORT long MTTEvaluateText(MTTIStatement* iRoot, MTTEvaluationEnvironment* iEnvironment, MTTString& ioText,
                                MTTITextPieceListener* iUserCode);

// The same, and iOutput (not owned; null for none) hears the output tree
// that Evaluate would have built, node by node and leaf by leaf, with each
// leaf's place in ioText. On failure what it heard is void.
MTT_EXPORT long MTTEvaluateText(MTTIStatement* iRoot, MTTEvaluationEnvironment* iEnvironment, MTTString& ioText,
                                MTTITextPieceListener* iUserCode, MTTIOutputListener* iOutput);

#endif
