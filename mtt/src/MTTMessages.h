#ifndef MTTMESSAGES_H
#define MTTMESSAGES_H

#include "MTTUserCodeMarkers.h"

// Every message the library prints, as printf formats, in one place. Each
// comment names the stream it goes to. A "%s" that names a node is filled
// with the node's tree dump. The assertion report's format is shared with
// the infrastructure (MTTAssertionReport), and the user-code marker texts
// with the hosts (MTTUserCodeMarkers).
class MTTMessages {
public:
    // The default expression operations (standard error).
    static constexpr char kNoModelElement[] = "ERROR: This expression does not evaluate to a model element.\n";
    static constexpr char kNoBoolean[] = "ERROR: This expression does not evaluate to a boolean.\n";
    static constexpr char kNoString[] = "ERROR: This expression does not evaluate to a string.\n";
    static constexpr char kNoLateEvaluation[] = "ERROR: This expression has no late evaluation.\n";
    static constexpr char kNoPath[] = "ERROR: This expression has no path.\n";

    // Property expression (standard output).
    static constexpr char kPropertyMissing[] = "ERROR: Property \"%s\" does not exist.\n";
    static constexpr char kPropertyNeedsLateEvaluator[] =
        "ERROR: late evaluation for property needs a late evaluator.\n";

    // Environment (standard output).
    static constexpr char kReadOnlyAlias[] =
        "ERROR: trying to write in an alias to a read only expression under name \"%s\".\n";
    static constexpr char kFunctionNotFound[] = "ERROR: Function \"%s\" not found.\n";

    // Special text (standard output; no line end).
    static constexpr char kUnknownSpecialText[] = "ERROR: Unknown text identifier in specialtext \"%s\".";

    // User code statement (standard output), and its marker leaves.
    static constexpr char kUserCodeOwnerMissing[] = "ERROR: UserCode: \"%s\" not present.\n";
    static constexpr char kUserCodeMissing[] = "ERROR: Property \"%s\" has no UserCode.\n";
    static constexpr char kUserCodeNotScalar[] = "ERROR: UserCode of \"%s\" is not an scalar.\n";
    static constexpr const char* kUserCodeBegin = MTTUserCodeMarkers::kBegin;
    static constexpr const char* kUserCodeEnd = MTTUserCodeMarkers::kEnd;

    // Statement list (standard output); the child counts from 1.
    static constexpr char kMalformedList[] = "ERROR: malformed MTTStatList.\n";
    static constexpr char kListChildFailed[] = "ERROR: StatList failed evaluation for child %d.\n";
    static constexpr char kListChildFailedLate[] = "ERROR: StatList failed late evaluation for child %d.\n";

    // If (standard output).
    static constexpr char kIfBodyFailed[] = "ERROR: Evaluation error in if body.\n";

    // Foreach (standard output); the element counts from 0.
    static constexpr char kForeachNotList[] = "ERROR: Foreach argument is not a list.\n";
    static constexpr char kForeachNullElement[] = "ERROR: Element %d of Foreach iterated list is NULL.\n";
    static constexpr char kForeachChildFailed[] = "ERROR: Foreach failed evaluation for child %d.\n";
    static constexpr char kForeachNeedsLateEvaluator[] = "ERROR: Foreach needs a late evaluator.\n";

    // Or-equals (standard error).
    static constexpr char kUndeclaredVariable[] = "ERROR: Variable \"%s\" undeclared.\n";
    static constexpr char kOrEqualsNotInteger[] =
        "ERROR: Operation |= is forbidden with the non integer variable \"%s\".\n";

    // Function call and declaration (standard output).
    static constexpr char kFunctionNotDefined[] = "ERROR: function call: function \"%s\" not defined.\n";
    static constexpr char kFunctionFailed[] = "ERROR: function call: evaluation of function \"%s\" failed.\n";
    static constexpr char kWrongParameterCount[] =
        "ERROR: function call failed: wrong parameter number for function \"%s\".\n";
    static constexpr char kWrongParameterCountLate[] =
        "ERROR: late evaluation function call failed: wrong parameter number for function \"%s\".\n";
    static constexpr char kCallFailed[] = "ERROR: function call failed evaluation.\n";
    static constexpr char kCallFailedLate[] = "ERROR: function call failed late evaluation.\n";
    // A call refused by the nesting limits, with the number of calls it
    // would have made (MTTCallGuard).
    static constexpr char kCallTooDeep[] = "ERROR: function call: function \"%s\" nested too deeply (%d calls).\n";

    // The messages that only repeat for an enclosing statement that one
    // inside it failed (MTTIsFollowOnMessage); each holds one conversion at
    // most.
    static constexpr const char* kFollowOns[] = {kListChildFailed,    kListChildFailedLate, kIfBodyFailed,
                                                 kForeachChildFailed, kFunctionFailed,      kCallFailed,
                                                 kCallFailedLate};
};

#endif
