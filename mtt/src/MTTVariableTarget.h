#ifndef MTTVARIABLETARGET_H
#define MTTVARIABLETARGET_H

class MTTEvaluationEnvironment;
class MTTString;
class MTTVariableEntry;

// The variable that a write to a name changes: the name's own entry in the
// table or, through aliases bound to variable expressions, the entry of the
// variable they lead to. The environment's writes and type queries go
// through it, and so do the statements that extend a variable ("+=",
// "|="), which append to that entry in place, so that a growing variable
// costs time in proportion to what is added, not to its length.
class MTTVariableTarget {
public:
    MTTVariableTarget(const MTTEvaluationEnvironment* iEnvironment, const MTTString& iName);

    // An alias to something other than a variable was met: writes are refused.
    bool ReadOnly() const { return _readOnly; }
    // The name was an alias.
    bool Aliased() const { return _aliased; }
    // Null when the table has no variable of that name (yet), or the name is
    // read-only.
    MTTVariableEntry* Entry() const { return _entry; }
    // The name the write goes to (when read-only, the alias that refuses
    // it), valid as long as the tree and iName.
    const MTTString& Name() const { return *_name; }

private:
    void Resolve(const MTTEvaluationEnvironment* iEnvironment, const MTTString& iName);

    const MTTString* _name;
    MTTVariableEntry* _entry;
    bool _readOnly;
    bool _aliased;
};

#endif
