#include "MTLILateEvaluator.h"

MTLILateEvaluator::~MTLILateEvaluator() {}
