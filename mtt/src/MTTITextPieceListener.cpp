#include "MTTITextPieceListener.h"

MTTITextPieceListener::MTTITextPieceListener() {}
MTTITextPieceListener::MTTITextPieceListener(const MTTITextPieceListener&) {}
MTTITextPieceListener& MTTITextPieceListener::operator=(const MTTITextPieceListener&)
{
    return *this;
}
MTTITextPieceListener::~MTTITextPieceListener() {}
