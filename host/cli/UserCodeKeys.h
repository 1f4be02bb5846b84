#ifndef USERCODEKEYS_H
#define USERCODEKEYS_H

#include <string>
#include <vector>

class MTLIModelObject;

// The key that follows a user-code section's owner through regeneration:
// its path in the model with list positions replaced by the elements'
// identifying values, e.g. "/classes/Order/attributes/id" for
// /classes/0/attributes/2 when those elements have such a "name". An
// element without an identifying value keeps its position; the root is "/".
// So the key survives reordering, insertion and deletion of other owners.
// Characters that would break a marker line are escaped (~0 ~1 for "~" and
// "/" as in JSON pointers, %XX for blanks, control bytes and % # * < >).
class UserCodeKeys {
public:
    // iMembers: the identifying members, first found wins (e.g. "id,name").
    explicit UserCodeKeys(const std::string& iMembers);

    // "" for an object that is not part of a JSON model.
    std::string KeyOf(const MTLIModelObject* iOwner) const;

private:
    std::vector<std::string> _members;
};

#endif
