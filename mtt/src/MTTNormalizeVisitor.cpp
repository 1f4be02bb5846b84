#include "MTTNormalizeVisitor.h"

#include "MTTResult.h"
#include "MTTStatText.h"

long MTTNormalizeVisitor::VisitStatText(MTTStatText* iNode)
{
    if (iNode == nullptr) return E_FAIL;
    MTTString text = iNode->GetText();
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text.ConvertToChar()); *p; ++p) {
        // Only these four bytes count as whitespace; 0x0B, 0x0C and every
        // byte from 0x80 up are kept.
        if (*p != 0x20 && *p != 0x09 && *p != 0x0A && *p != 0x0D) return S_OK;
    }
    iNode->SetText(MTTString());
    return S_OK;
}
