#ifndef MTTNODECLASSES_H
#define MTTNODECLASSES_H

// Every node class, for code that needs them all complete (visitors that
// convert to MTTNode, the factory).
#include "MTTExpProperty.h"
#include "MTTExpString.h"
#include "MTTExpVariable.h"
#include "MTTExpNotEquals.h"
#include "MTTExpEquals.h"
#include "MTTExpAnd.h"
#include "MTTExpOr.h"
#include "MTTExpLEQ.h"
#include "MTTExpGEQ.h"
#include "MTTExpLT.h"
#include "MTTExpGT.h"
#include "MTTExpDefined.h"
#include "MTTExpNot.h"
#include "MTTStatText.h"
#include "MTTStatSpecialText.h"
#include "MTTStatBeginStatement.h"
#include "MTTStatEndStatement.h"
#include "MTTStatComment.h"
#include "MTTStatIf.h"
#include "MTTStatForeach.h"
#include "MTTStatUsercode.h"
#include "MTTStatExpression.h"
#include "MTTStatFunctionDecl.h"
#include "MTTStatFunctionCall.h"
#include "MTTStatAssign.h"
#include "MTTStatAppend.h"
#include "MTTStatOrEquals.h"
#include "MTTStatList.h"
#include "MTTStatDeclareVariable.h"

#endif
