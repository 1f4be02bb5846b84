#include "UserCodeMatcher.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace {

// "K#2" -> "K": the suffix an earlier version gave owners sharing a key.
std::string_view SharedBase(std::string_view iKey)
{
    const size_t hash = iKey.rfind('#');
    if (hash == std::string_view::npos || hash + 1 == iKey.size()) return std::string_view();
    if (iKey.find_first_not_of("0123456789", hash + 1) != std::string_view::npos) return std::string_view();
    return iKey.substr(0, hash);
}

}  // namespace

UserCodeMatcher::Outcome UserCodeMatcher::Match(const std::vector<std::pair<std::string, std::string>>& iWanted,
                                                const std::vector<UserCodeSections::Section>& iExisting)
{
    using Section = UserCodeSections::Section;
    Outcome outcome;
    outcome.texts.reserve(iWanted.size());
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
    // By hash, of views of the sections' own keys: tens of thousands of
    // keys share long prefixes ("/classes/..."), which an ordered map
    // compares again and again, and a copy each would be as many texts.
    // A key's sections are chained in file order (next), the first and
    // last in the map.
    constexpr uint32_t kEnd = ~uint32_t(0);
    struct Chain {
        uint32_t first;
        uint32_t last;
        uint32_t count;
    };
    std::unordered_map<std::string_view, Chain> byKey;
    byKey.reserve(iExisting.size());
    std::vector<uint32_t> next(iExisting.size(), kEnd);
    std::unordered_set<std::string_view> shared;
    for (uint32_t i = 0; i < iExisting.size(); ++i) {
        const std::string_view key = iExisting[i].key;
        if (key.empty()) continue;
        const auto made = byKey.emplace(key, Chain{i, i, 1});
        if (!made.second) {
            Chain& chain = made.first->second;
            next[chain.last] = i;
            chain.last = i;
            ++chain.count;
        }
        const std::string_view base = SharedBase(key);
        if (!base.empty()) shared.insert(base);
    }
    const auto sectionsOf = [&](const Chain& iChain) {
        std::vector<const Section*> sections;
        for (uint32_t i = iChain.first; i != kEnd; i = next[i]) sections.push_back(&iExisting[i]);
        return sections;
    };
    // In the order of the keys, as the messages were always made.
    std::vector<std::string_view> ambiguous;
    for (const auto& entry : byKey) {
        const std::string_view base = SharedBase(entry.first);
        if (entry.second.count > 1 || shared.count(entry.first) != 0 || (!base.empty() && byKey.count(base) != 0)) {
            ambiguous.push_back(entry.first);
        }
    }
    std::sort(ambiguous.begin(), ambiguous.end());
    for (const std::string_view key : ambiguous) {
        const std::vector<const Section*> sections = sectionsOf(byKey.at(key));
        for (const Section* section : sections) {
            placed[indexOf(section)] = true;
            if (section->text.empty()) continue;
            outcome.orphans.push_back(*section);
            std::string why;
            if (sections.size() > 1) {
                why = "a second section keyed \"" + std::string(key) + "\" (the first begins at line " +
                      std::to_string(sections.front()->beginLine) + ")";
            } else {
                const std::string base(SharedBase(key).empty() ? key : SharedBase(key));
                why = "the sections \"" + base + "\" and \"" + base +
                      "#2\"... were written for owners that shared one key; mttgen cannot tell whose is whose";
            }
            if (section != sections.front() || sections.size() == 1)
                outcome.conflicts.push_back(Conflict{section->beginLine, why});
        }
    }

    for (size_t i = 0; i < iWanted.size(); ++i) {
        auto found = byKey.find(iWanted[i].first);
        if (found == byKey.end() || std::binary_search(ambiguous.begin(), ambiguous.end(), found->first)) continue;
        outcome.texts[i] = iExisting[found->second.first].text;
        placed[found->second.first] = true;
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
