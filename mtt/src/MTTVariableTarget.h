#ifndef MTTVARIABLETARGET_H
#define MTTVARIABLETARGET_H

class MTTEvaluationEnvironment;
class MTTString;
class MTTVariableEntry;

// The variable that a write to a name changes: the name's own entry in the
// table or, through aliases bound to variable expressions, the entry of the
// variable they lead to, found the way the environment's writes find it.
// Statements that extend a variable ("+=", "|=") append to that entry in
// place, so that a growing variable costs time in proportion to what is
// added, not to its length.
class MTTVariableTarget {
public:
    MTTVariableTarget(MTTEvaluationEnvironment* iEnvironment, const MTTString& iName);

    // An alias to something other than a variable was met: writes are refused.
    bool ReadOnly() const { return _readOnly; }
    // The name was an alias.
    bool Aliased() const { return _aliased; }
    // Null when the table has no variable of that name (yet).
    MTTVariableEntry* Entry() const { return _entry; }
    // The name the write goes to, valid as long as the tree and iName.
    const MTTString& Name() const { return *_name; }

private:
    void Resolve(MTTEvaluationEnvironment* iEnvironment, const MTTString& iName);

    const MTTString* _name;
    MTTVariableEntry* _entry;
    bool _readOnly;
    bool _aliased;
};

#endif
