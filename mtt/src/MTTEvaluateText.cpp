#include "MTTEvaluateText.h"

#include "MTTDiagnostics.h"
#include "MTTIStatement.h"
#include "MTTResult.h"
#include "MTTTextWriter.h"

long MTTEvaluateText(MTTIStatement* iRoot, MTTEvaluationEnvironment* iEnvironment, MTTString& ioText)
{
    return MTTEvaluateText(iRoot, iEnvironment, ioText, nullptr);
}

long MTTEvaluateText(MTTIStatement* iRoot, MTTEvaluationEnvironment* iEnvironment, MTTString& ioText,
                     MTTITextPieceListener* iUserCode)
{
    return MTTEvaluateText(iRoot, iEnvironment, ioText, iUserCode, nullptr);
}

long MTTEvaluateText(MTTIStatement* iRoot, MTTEvaluationEnvironment* iEnvironment, MTTString& ioText,
                     MTTITextPieceListener* iUserCode, MTTIOutputListener* iOutput)
{
    if (!MTT_CHECK(NULL != iRoot, "NULL != iRoot")) return E_FAIL;
    const size_t length = ioText.Length();
    const bool written = iOutput != nullptr ? MTTHeardTextWriter(iEnvironment, ioText, iUserCode, iOutput).Write(iRoot)
                                            : MTTTextWriter(iEnvironment, ioText, iUserCode).Write(iRoot);
    if (written) return S_OK;
    ioText.Truncate(length);
    return E_FAIL;
}
