#include "UserCodeMatcher.h"

#include <algorithm>
#include <map>

namespace {

std::string Sections(size_t iCount)
{
    return std::to_string(iCount) + (iCount == 1 ? " unkeyed user-code section" : " unkeyed user-code sections");
}

}  // namespace

UserCodeMatcher::Outcome UserCodeMatcher::Match(const std::vector<Wanted>& iWanted,
                                                const std::vector<UserCodeSections::Section>& iExisting)
{
    Outcome outcome;
    for (const Wanted& wanted : iWanted) outcome.texts.push_back(wanted.modelText);
    const bool allUnkeyed =
        !iExisting.empty() && std::all_of(iExisting.begin(), iExisting.end(),
                                          [](const UserCodeSections::Section& s) { return s.key.empty(); });
    if (allUnkeyed) {
        // Older files: their sections follow the template's order.
        if (iExisting.size() != iWanted.size()) {
            outcome.conflict = "the file holds " + Sections(iExisting.size()) + ", the template now makes " +
                               std::to_string(iWanted.size());
        }
        for (size_t i = 0; i < iExisting.size(); ++i) {
            if (i < iWanted.size()) {
                outcome.texts[i] = iExisting[i].text;
            } else {
                outcome.orphans.push_back(iExisting[i]);
            }
        }
        return outcome;
    }
    std::map<std::string, size_t> byKey;
    for (size_t i = 0; i < iExisting.size(); ++i) {
        const UserCodeSections::Section& section = iExisting[i];
        if (section.key.empty()) {
            outcome.orphans.push_back(section);  // unkeyed among keyed ones: nowhere to go
            continue;
        }
        auto inserted = byKey.emplace(section.key, i);
        if (!inserted.second) {
            if (outcome.conflict.empty()) {
                outcome.conflictLine = section.beginLine;
                outcome.conflict = "a second section keyed \"" + section.key + "\" (the first begins at line " +
                                   std::to_string(iExisting[inserted.first->second].beginLine) + ")";
            }
            outcome.orphans.push_back(section);
        }
    }
    std::vector<bool> used(iExisting.size(), false);
    for (size_t i = 0; i < iWanted.size(); ++i) {
        auto found = byKey.find(iWanted[i].key);
        if (found == byKey.end()) continue;
        outcome.texts[i] = iExisting[found->second].text;
        used[found->second] = true;
    }
    for (const auto& entry : byKey) {
        if (!used[entry.second]) outcome.orphans.push_back(iExisting[entry.second]);
    }
    outcome.orphans.erase(std::remove_if(outcome.orphans.begin(), outcome.orphans.end(),
                                         [](const UserCodeSections::Section& s) { return s.text.empty(); }),
                          outcome.orphans.end());
    std::sort(outcome.orphans.begin(), outcome.orphans.end(),
              [](const UserCodeSections::Section& a, const UserCodeSections::Section& b) {
                  return a.beginLine < b.beginLine;
              });
    return outcome;
}
