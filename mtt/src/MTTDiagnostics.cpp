#include "MTTDiagnostics.h"

#include <cstdarg>
#include <cstring>
#include <string>

#include "MTTAssertionReport.h"
#include "MTTIMessageObserver.h"
#include "MTTMessages.h"

namespace {

// Static TLS (initial-exec), like the node that reports: the library is
// linked, never loaded late.
MTT_FAST_THREAD_LOCAL MTTIMessageObserver* tObserver MTT_INITIAL_EXEC = nullptr;
MTT_FAST_THREAD_LOCAL bool tPrinting MTT_INITIAL_EXEC = true;

// Whether iText is what iFormat prints for some argument; iFormat holds one
// %d or %s at most.
bool Prints(const char* iFormat, const char* iText)
{
    const char* conversion = std::strchr(iFormat, '%');
    if (conversion == nullptr) return std::strcmp(iFormat, iText) == 0;
    const size_t prefix = static_cast<size_t>(conversion - iFormat);
    if (std::strncmp(iFormat, iText, prefix) != 0) return false;
    const char* rest = iText + prefix;
    const char* suffix = conversion + 2;
    if (conversion[1] == 'd') {
        if (*rest == '-') ++rest;
        const char* digits = rest;
        while (*rest >= '0' && *rest <= '9') ++rest;
        return rest > digits && std::strcmp(rest, suffix) == 0;
    }
    const size_t restLength = std::strlen(rest);
    const size_t suffixLength = std::strlen(suffix);
    return restLength >= suffixLength && std::strcmp(rest + restLength - suffixLength, suffix) == 0;
}

void Report(const MTTNode* iReporter, const MTTNode* iSubject, FILE* iStream, const char* iFormat, va_list iArguments)
{
    if (tObserver == nullptr) {
        std::vfprintf(iStream, iFormat, iArguments);
        return;
    }
    // Formatted once, so that the observer hears exactly what was printed.
    va_list again;
    va_copy(again, iArguments);
    const int length = std::vsnprintf(nullptr, 0, iFormat, iArguments);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(&text[0], text.size() + 1, iFormat, again);
    va_end(again);
    if (tPrinting) std::fputs(text.c_str(), iStream);
    tObserver->OnMessage(iReporter, iSubject, iStream == stderr, text.c_str());
}

}  // namespace

MTTIMessageObserver::MTTIMessageObserver() {}
MTTIMessageObserver::MTTIMessageObserver(const MTTIMessageObserver&) {}
MTTIMessageObserver& MTTIMessageObserver::operator=(const MTTIMessageObserver&)
{
    return *this;
}
MTTIMessageObserver::~MTTIMessageObserver() {}

void MTTIMessageObserver::ReportFromModel(const char* iText)
{
    MTTPrintOut("%s", iText == nullptr ? "" : iText);
}

MTTIMessageObserver* MTTSetMessageObserver(MTTIMessageObserver* iObserver)
{
    MTTIMessageObserver* previous = tObserver;
    tObserver = iObserver;
    return previous;
}

bool MTTSetMessagePrinting(bool iPrint)
{
    const bool previous = tPrinting;
    tPrinting = iPrint;
    return previous;
}

bool MTTIsFollowOnMessage(const char* iText)
{
    if (iText == nullptr) return false;
    for (const char* format : MTTMessages::kFollowOns) {
        if (Prints(format, iText)) return true;
    }
    return false;
}

void MTTPrint(FILE* iStream, const char* iFormat, ...)
{
    va_list arguments;
    va_start(arguments, iFormat);
    Report(MTTReportingNode::Current(), MTTReportingNode::Current(), iStream, iFormat, arguments);
    va_end(arguments);
}

void MTTPrintOut(const char* iFormat, ...)
{
    va_list arguments;
    va_start(arguments, iFormat);
    Report(MTTReportingNode::Current(), MTTReportingNode::Current(), stdout, iFormat, arguments);
    va_end(arguments);
}

void MTTReport(const MTTNode* iReporter, const MTTNode* iSubject, FILE* iStream, const char* iFormat, ...)
{
    va_list arguments;
    va_start(arguments, iFormat);
    Report(iReporter, iSubject, iStream, iFormat, arguments);
    va_end(arguments);
}

MTT_FAST_THREAD_LOCAL const MTTNode* MTTReportingNode::tCurrent MTT_INITIAL_EXEC = nullptr;

bool MTTAssertionFailed(const char* iFile, int iLine, const char* iCondition)
{
    MTTReport(nullptr, nullptr, stderr, MTTAssertionReport::kFormat, MTTAssertionReport::BaseName(iFile), iLine,
              iCondition);
    return false;
}
