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
    MTTTextWriter writer(iEnvironment, ioText, iUserCode, iOutput);
    if (writer.Write(iRoot)) return S_OK;
    ioText.Truncate(length);
    return E_FAIL;
}
