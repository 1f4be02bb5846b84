#ifndef MTTITEXTPIECELISTENER_H
#define MTTITEXTPIECELISTENER_H

#include <cstddef>

#include "MTTEvaluationOutputLeafType.h"
#include "MTTExport.h"

class MTLIModelObject;
class MTTIStatement;

// A piece of text a usercode directive wrote: what the output tree would
// hold as one of that directive's leaves. iType is MTTLeafUserCode for the
// user code and MTTLeafGeneratedText for the markers around it; [iBegin,
// iEnd) are its bytes in the text written.
struct MTTTextPiece {
    MTTIStatement* statement;
    MTLIModelObject* object;  // the section's owner
    MTTEvaluationOutputLeafType type;
    size_t begin;
    size_t end;
};

// Hears, during MTTEvaluateText, each piece a usercode directive writes, in
// text order: a host that regenerates files finds the user-code sections
// so without an output tree.
class MTT_EXPORT MTTITextPieceListener {
public:
    MTTITextPieceListener();
    MTTITextPieceListener(const MTTITextPieceListener& iOther);
    MTTITextPieceListener& operator=(const MTTITextPieceListener& iOther);
    virtual ~MTTITextPieceListener();

    virtual void OnUserCodePiece(const MTTTextPiece& iPiece) = 0;
};

#endif
