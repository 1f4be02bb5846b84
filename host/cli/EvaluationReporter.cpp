#include "EvaluationReporter.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "SourceMap.h"

EvaluationReporter::EvaluationReporter(const SourceMap& iMap)
    : _map(iMap), _previous(MTTSetMessageObserver(this)), _errors(0) {}

EvaluationReporter::~EvaluationReporter() {
    MTTSetMessageObserver(_previous);
}

void EvaluationReporter::OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool,
                                   const char* iText) {
    const size_t length = std::strlen(iText);
    if (length > 0 && iText[length - 1] != '\n') std::fputc('\n', stderr);
    ++_errors;
    const SourceSpan* span = _map.Find(iSubject != nullptr ? iSubject : iReporter);
    if (span != nullptr) {
        const std::string note = _map.Where(*span) + ": note: in " + _map.Excerpt(*span) + "\n";
        std::fputs(note.c_str(), stderr);
    }
}
