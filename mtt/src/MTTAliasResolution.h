#ifndef MTTALIASRESOLUTION_H
#define MTTALIASRESOLUTION_H

class MTTEvaluationEnvironment;
class MTTExpVariable;
class MTTIExpression;
class MTTString;

// Looks up the alias of a name and, while this object lives, marks that
// binding as being resolved: lookups made meanwhile (while the aliased
// expression is evaluated) pass that binding by and go on outwards. A chain
// of aliases that leads back to itself therefore ends at the variable table
// instead of recursing without end. Lives on the stack of the resolving
// operation; the marks form a chain through the environment.
class MTTAliasResolution {
public:
    MTTAliasResolution(const MTTEvaluationEnvironment* iEnvironment, const MTTString& iName);
    ~MTTAliasResolution();

    // The aliased expression, or null when no scope binds the name.
    MTTIExpression* Expression() const { return _expression; }
    // The aliased expression when it is a variable expression (a writable
    // alias), else null.
    MTTExpVariable* Variable() const;

    // Whether the binding of iName in iScope is being resolved somewhere in
    // the chain that starts at iInnermost.
    static bool InProgress(const MTTAliasResolution* iInnermost, const void* iScope, const MTTString& iName);

private:
    MTTAliasResolution(const MTTAliasResolution&) = delete;
    MTTAliasResolution& operator=(const MTTAliasResolution&) = delete;

    const MTTEvaluationEnvironment* _environment;
    const MTTString& _name;
    const void* _scope;  // the binding's scope; null when none was found
    MTTIExpression* _expression;
    const MTTAliasResolution* _previous;
};

#endif
