#ifndef MTTALIASRESOLUTION_H
#define MTTALIASRESOLUTION_H

class MTTEvaluationEnvironment;
class MTTExpVariable;
class MTTIExpression;
class MTTString;

// Looks up the alias of a name and, while this object lives, marks that
// binding as being resolved: lookups of the same name made meanwhile (while
// the aliased expression is evaluated) pass it by and go on outwards. A
// chain of aliases that leads back to itself therefore ends at the variable
// table instead of recursing without end. Lives on the stack of the
// resolving operation; the marks form a chain through the environment.
//
// Each new mark of a name lies further out than the earlier marks of that
// name, so the most recent mark alone tells where a lookup resumes: a
// parameter passed down through n recursive calls resolves in n steps.
class MTTAliasResolution {
public:
    MTTAliasResolution(const MTTEvaluationEnvironment* iEnvironment, const MTTString& iName);
    ~MTTAliasResolution();

    // The aliased expression, or null when no scope binds the name.
    MTTIExpression* Expression() const { return _expression; }
    // The aliased expression when it is a variable expression (a writable
    // alias), else null.
    MTTExpVariable* Variable() const;

    // The scope position (from 1) below which a lookup of iName resumes:
    // the position of the most recent mark of that name, or iScopeCount + 1
    // when the name is not being resolved.
    static int ResumeBelow(const MTTAliasResolution* iInnermost, const MTTString& iName, int iScopeCount);

private:
    MTTAliasResolution(const MTTAliasResolution&) = delete;
    MTTAliasResolution& operator=(const MTTAliasResolution&) = delete;

    const MTTEvaluationEnvironment* _environment;
    const MTTString& _name;
    int _scopePosition;  // the binding's scope, from 1; 0 when none was found
    MTTIExpression* _expression;
    const MTTAliasResolution* _previous;
};

#endif
