#include "MTTDiagnostics.h"

#include <cstdarg>
#include <string>

#include "MTTAssertionReport.h"
#include "MTTIMessageObserver.h"

namespace {

thread_local MTTIMessageObserver* tObserver = nullptr;
thread_local const MTTNode* tReportingNode = nullptr;

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
    std::fputs(text.c_str(), iStream);
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

MTTIMessageObserver* MTTSetMessageObserver(MTTIMessageObserver* iObserver)
{
    MTTIMessageObserver* previous = tObserver;
    tObserver = iObserver;
    return previous;
}

void MTTPrint(FILE* iStream, const char* iFormat, ...)
{
    va_list arguments;
    va_start(arguments, iFormat);
    Report(tReportingNode, tReportingNode, iStream, iFormat, arguments);
    va_end(arguments);
}

void MTTPrintOut(const char* iFormat, ...)
{
    va_list arguments;
    va_start(arguments, iFormat);
    Report(tReportingNode, tReportingNode, stdout, iFormat, arguments);
    va_end(arguments);
}

void MTTReport(const MTTNode* iReporter, const MTTNode* iSubject, FILE* iStream, const char* iFormat, ...)
{
    va_list arguments;
    va_start(arguments, iFormat);
    Report(iReporter, iSubject, iStream, iFormat, arguments);
    va_end(arguments);
}

MTTReportingNode::MTTReportingNode(const MTTNode* iNode) : _previous(tReportingNode)
{
    tReportingNode = iNode;
}

MTTReportingNode::~MTTReportingNode()
{
    tReportingNode = _previous;
}

bool MTTAssertionFailed(const char* iFile, int iLine, const char* iCondition)
{
    MTTReport(nullptr, nullptr, stderr, MTTAssertionReport::kFormat, MTTAssertionReport::BaseName(iFile), iLine,
              iCondition);
    return false;
}
