#include "UserCodeMatcher.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace {

// "K#2" -> "K": the suffix an earlier version gave owners sharing a key.
std::string SharedBase(const std::string& iKey)
{
    const size_t hash = iKey.rfind('#');
    if (hash == std::string::npos || hash + 1 == iKey.size()) return std::string();
    if (iKey.find_first_not_of("0123456789", hash + 1) != std::string::npos) return std::string();
    return iKey.substr(0, hash);
}

}  // namespace

UserCodeMatcher::Outcome UserCodeMatcher::Match(const std::vector<std::pair<std::string, std::string>>& iWanted,
                                                const std::vector<UserCodeSections::Section>& iExisting)
{
    using Section = UserCodeSections::Section;
    Outcome outcome;
    for (const auto& wanted : iWanted) outcome.texts.push_back(wanted.second);
    std::vector<const Section*> held;  // sections with text
    for (const Section& section : iExisting) {
        if (!section.text.empty()) held.push_back(&section);
    }
    std::vector<bool> placed(iExisting.size(), false);
    auto indexOf = [&](const Section* iSection) { return static_cast<size_t>(iSection - iExisting.data()); };

    // Older files without keys: only a file of one section for one section
    // can say whose it is.
    const bool allUnkeyed =
        std::all_of(iExisting.begin(), iExisting.end(), [](const Section& s) { return s.key.empty(); });
    if (!iExisting.empty() && allUnkeyed) {
        if (iExisting.size() == 1 && iWanted.size() == 1) {
            outcome.texts[0] = iExisting[0].text;
            return outcome;
        }
        if (!held.empty()) {
            outcome.conflicts.push_back(
                Conflict{held.front()->beginLine,
                         "the file holds " + std::to_string(iExisting.size()) + " user-code section" +
                             (iExisting.size() == 1 ? "" : "s") +
                             " without keys (written by an older version) and the template now makes " +
                             std::to_string(iWanted.size()) + "; mttgen cannot tell which owner each belongs to"});
        }
        for (const Section* section : held) outcome.orphans.push_back(*section);
        return outcome;
    }

    // Keys that name more than one section, or that an earlier version
    // split into "K", "K#2"...: their texts cannot be told apart.
    // By hash: keys share long prefixes ("/classes/..."), which an ordered
    // map compares again and again.
    std::unordered_map<std::string, std::vector<const Section*>> byKey;
    std::unordered_set<std::string> shared;
    for (const Section& section : iExisting) {
        if (section.key.empty()) continue;
        byKey[section.key].push_back(&section);
        const std::string base = SharedBase(section.key);
        if (!base.empty()) shared.insert(base);
    }
    std::set<std::string> ambiguous;
    for (const auto& entry : byKey) {
        if (entry.second.size() > 1) ambiguous.insert(entry.first);
        const std::string base = SharedBase(entry.first);
        if (shared.count(entry.first) != 0 || (!base.empty() && byKey.count(base) != 0)) ambiguous.insert(entry.first);
    }
    for (const std::string& key : ambiguous) {
        const std::vector<const Section*>& sections = byKey[key];
        for (const Section* section : sections) {
            placed[indexOf(section)] = true;
            if (section->text.empty()) continue;
            outcome.orphans.push_back(*section);
            std::string why;
            if (sections.size() > 1) {
                why = "a second section keyed \"" + key + "\" (the first begins at line " +
                      std::to_string(sections.front()->beginLine) + ")";
            } else {
                const std::string base = SharedBase(key).empty() ? key : SharedBase(key);
                why = "the sections \"" + base + "\" and \"" + base +
                      "#2\"... were written for owners that shared one key; mttgen cannot tell whose is whose";
            }
            if (section != sections.front() || sections.size() == 1)
                outcome.conflicts.push_back(Conflict{section->beginLine, why});
        }
    }

    for (size_t i = 0; i < iWanted.size(); ++i) {
        auto found = byKey.find(iWanted[i].first);
        if (found == byKey.end() || ambiguous.count(found->first) != 0) continue;
        outcome.texts[i] = found->second.front()->text;
        placed[indexOf(found->second.front())] = true;
    }
    for (const Section* section : held) {
        if (placed[indexOf(section)]) continue;
        if (section->key.empty()) {
            outcome.conflicts.push_back(
                Conflict{section->beginLine,
                         "this user-code section has no key after \"Begin of User Code\" (was its marker "
                         "edited?); put its owner's key back, as the other markers have theirs"});
        }
        outcome.orphans.push_back(*section);
    }
    std::sort(outcome.orphans.begin(), outcome.orphans.end(),
              [](const Section& a, const Section& b) { return a.beginLine < b.beginLine; });
    std::sort(outcome.conflicts.begin(), outcome.conflicts.end(),
              [](const Conflict& a, const Conflict& b) { return a.line < b.line; });
    return outcome;
}
