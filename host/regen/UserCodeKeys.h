#ifndef USERCODEKEYS_H
#define USERCODEKEYS_H

#include <string>
#include <vector>

class MTLIModelObject;

// The key that follows a user-code section's owner through regeneration:
// its path in the model with list positions replaced by the elements'
// identifying values, e.g. "/classes/Order/attributes/id" for
// /classes/0/attributes/2 when those elements have such a "name"; the
// root is "/". A named section ([% usercode as "includes" %]) adds
// "#includes". So the key survives reordering, insertion and deletion of
// other owners. An element without an identifying value would keep its
// position, which follows no element: such keys are marked positional and
// refused. Characters that would break a marker line are escaped (~0 ~1
// for "~" and "/" as in JSON pointers, %XX for blanks, control bytes and
// % # * < >).
class UserCodeKeys {
public:
    struct Identity {
        std::string key;      // "" for an object that is not part of a JSON model
        std::string pointer;  // the owner's JSON pointer ("" for the root)
        bool positional = false;
    };

    // iMembers: the identifying members, first found wins (e.g. "id,name").
    explicit UserCodeKeys(const std::string& iMembers);

    Identity Of(const MTLIModelObject* iOwner, const std::string& iSectionName) const;
    const std::vector<std::string>& Members() const { return _members; }

private:
    std::vector<std::string> _members;
};

#endif
