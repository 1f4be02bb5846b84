#ifndef LATEDECLARATIONS_H
#define LATEDECLARATIONS_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "SourceMap.h"

// Which variables the generated code has declared at each point of a
// template parsed for late evaluation, so that a second declaration in the
// same or an enclosing block of the generated code becomes a reset instead
// of a declaration that would not compile. Blocks of the generated code:
// the template, each foreach body, each branch of an if whose condition
// reads the model. The branches of an if decided while generating are not
// blocks there: only one of them is generated, so what they declare may or
// may not exist after the if. A function body is generated where it is
// called; what its body declares is declared by each call.
class LateDeclarations {
public:
    enum class Block {
        kLoop,         // a foreach body
        kFunction,     // a function body: sees nothing of the blocks around it
        kGeneratedIf,  // an if whose condition reads the model (holds its branches)
        kDecidedIf,    // an if decided while generating (holds its branches)
        kBranch,       // one branch of the innermost if
    };

    struct Declaration {
        int type = 0;         // MTTExpVariableType
        SourceSpan where;     // the declaration (or the call that made it)
        bool certain = true;  // false: declared in an if decided while generating
    };
    using Declared = std::vector<std::pair<std::string, Declaration>>;

    void Open(Block iBlock);
    // Ends the innermost block.
    void Close();
    // Ends the innermost block, a function body, and keeps what it declared
    // for the calls of iFunction.
    void CloseFunction(const std::string& iFunction);

    // The declaration the generated code sees here, or null.
    const Declaration* Find(const std::string& iName) const;
    // Whether this point is inside a loop or an if that the generated code
    // repeats or decides (what acts while generating runs once there).
    bool InGeneratedBlock() const;
    void Declare(const std::string& iName, const Declaration& iDeclaration);
    // What a call of iFunction declares (null for a function not seen).
    const Declared* OfFunction(const std::string& iFunction) const;

private:
    struct Scope {
        Block block;
        std::map<std::string, Declaration> names;
        Declared carried;  // a decided if: what its branches declared
    };

    std::vector<Scope> _scopes = {Scope{Block::kLoop, {}, {}}};  // the template's own block
    std::map<std::string, Declared> _functions;
};

#endif
