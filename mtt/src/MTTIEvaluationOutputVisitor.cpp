#include "MTTIEvaluationOutputVisitor.h"

MTTIEvaluationOutputVisitor::MTTIEvaluationOutputVisitor() {}
MTTIEvaluationOutputVisitor::MTTIEvaluationOutputVisitor(const MTTIEvaluationOutputVisitor&) {}
MTTIEvaluationOutputVisitor& MTTIEvaluationOutputVisitor::operator=(const MTTIEvaluationOutputVisitor&)
{
    return *this;
}
MTTIEvaluationOutputVisitor::~MTTIEvaluationOutputVisitor() {}
