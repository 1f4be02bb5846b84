#include "LateDeclarations.h"

void LateDeclarations::Open(Block iBlock)
{
    _scopes.push_back(Scope{iBlock, {}, {}});
}

void LateDeclarations::Close()
{
    Scope scope = std::move(_scopes.back());
    _scopes.pop_back();
    Scope& outer = _scopes.back();
    if (scope.block == Block::kBranch && outer.block == Block::kDecidedIf) {
        for (auto& entry : scope.names) outer.carried.emplace_back(entry.first, entry.second);
    } else if (scope.block == Block::kDecidedIf) {
        // outer is where the generated code has them, if the branch that
        // declared them is the one generated.
        for (auto& entry : scope.carried) {
            entry.second.certain = false;
            outer.names.insert(entry);
        }
    }
}

void LateDeclarations::CloseFunction(const std::string& iFunction)
{
    Declared& declared = _functions[iFunction];
    declared.assign(_scopes.back().names.begin(), _scopes.back().names.end());
    _scopes.pop_back();
}

const LateDeclarations::Declaration* LateDeclarations::Find(const std::string& iName) const
{
    for (size_t i = _scopes.size(); i-- > 0;) {
        auto found = _scopes[i].names.find(iName);
        if (found != _scopes[i].names.end()) return &found->second;
        if (_scopes[i].block == Block::kFunction) break;
    }
    return nullptr;
}

bool LateDeclarations::InGeneratedBlock() const
{
    // Scope 0 is the template itself.
    for (size_t i = _scopes.size(); i-- > 1;) {
        if (_scopes[i].block == Block::kFunction) return false;
        if (_scopes[i].block == Block::kLoop || _scopes[i].block == Block::kGeneratedIf) return true;
    }
    return false;
}

void LateDeclarations::Declare(const std::string& iName, const Declaration& iDeclaration)
{
    _scopes.back().names[iName] = iDeclaration;
}

const LateDeclarations::Declared* LateDeclarations::OfFunction(const std::string& iFunction) const
{
    auto found = _functions.find(iFunction);
    return found == _functions.end() ? nullptr : &found->second;
}
