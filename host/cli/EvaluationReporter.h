#ifndef EVALUATIONREPORTER_H
#define EVALUATIONREPORTER_H

#include "MTTIMessageObserver.h"

class SourceMap;

// Listens to the library's messages during one evaluation: counts the
// errors (any "ERROR: " line or assertion report), follows each one with a
// line "FILE:LINE:COLUMN: note: in <directive>" naming the template text
// behind it, and ends a message that has no line end of its own, so that
// the next one starts on a line of its own. Set for the calling thread
// while it lives.
class EvaluationReporter : public MTTIMessageObserver {
public:
    explicit EvaluationReporter(const SourceMap& iMap);
    ~EvaluationReporter() override;
    EvaluationReporter(const EvaluationReporter&) = delete;
    EvaluationReporter& operator=(const EvaluationReporter&) = delete;

    void OnMessage(const MTTNode* iReporter, const MTTNode* iSubject, bool iToStandardError,
                   const char* iText) override;

    int Errors() const { return _errors; }

private:
    const SourceMap& _map;
    MTTIMessageObserver* _previous;
    int _errors;
};

#endif
