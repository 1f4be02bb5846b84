#include "UserCodeMerger.h"

#include <algorithm>
#include <cstring>
#include <utility>

const char* const UserCodeMerger::kBeginMarker = "// Begin of User Code\n";
const char* const UserCodeMerger::kEndMarker = "// End of User Code\n";

namespace {

// The next begin marker at or after iFrom that starts a line.
size_t FindBegin(const std::string& iText, size_t iFrom) {
    size_t at = iText.find(UserCodeMerger::kBeginMarker, iFrom);
    while (at != std::string::npos && at > 0 && iText[at - 1] != '\n') {
        at = iText.find(UserCodeMerger::kBeginMarker, at + 1);
    }
    return at;
}

std::string SectionCount(size_t iCount) {
    return std::to_string(iCount) + (iCount == 1 ? " user-code section" : " user-code sections");
}

int LineOf(const std::string& iText, size_t iOffset, size_t iCountedUpTo, int iLineThere) {
    return iLineThere + static_cast<int>(std::count(iText.begin() + static_cast<std::ptrdiff_t>(iCountedUpTo),
                                                    iText.begin() + static_cast<std::ptrdiff_t>(iOffset), '\n'));
}

}  // namespace

UserCodeMerger::UserCodeMerger(std::string iFileName, const std::string& iExistingText)
    : _fileName(std::move(iFileName)) {
    _sections = FindSections(iExistingText, _unclosed);
}

std::vector<UserCodeMerger::Section> UserCodeMerger::FindSections(const std::string& iText, Section& oUnclosed) {
    std::vector<Section> sections;
    oUnclosed = Section{std::string(), 0};
    const size_t beginLength = std::strlen(kBeginMarker);
    const size_t endLength = std::strlen(kEndMarker);
    size_t position = 0;
    size_t countedUpTo = 0;
    int line = 1;
    for (;;) {
        const size_t begin = FindBegin(iText, position);
        if (begin == std::string::npos) {
            break;
        }
        line = LineOf(iText, begin, countedUpTo, line);
        countedUpTo = begin;
        const size_t start = begin + beginLength;
        const size_t end = iText.find(kEndMarker, start);
        if (end == std::string::npos) {
            oUnclosed = Section{iText.substr(start), line};
            break;
        }
        sections.push_back(Section{iText.substr(start, end - start), line});
        position = end + endLength;
    }
    return sections;
}

std::string UserCodeMerger::DropMessage(size_t iNumber, const Section& iSection) const {
    std::string message = "mttgen: warning: " + _fileName + ":" + std::to_string(iSection.line) +
                          ": dropping user-code section " + std::to_string(iNumber);
    if (iSection.text.empty()) {
        return message + " (it was empty)\n";
    }
    message += "; its text was:\n" + iSection.text;
    if (iSection.text.back() != '\n') {
        message += '\n';
    }
    return message;
}

bool UserCodeMerger::Merge(const std::vector<std::string>& iModelTexts, bool iForce,
                           std::vector<std::string>& oTexts, std::string& oMessages) const {
    oTexts.clear();
    oMessages.clear();
    const size_t wanted = iModelTexts.size();
    const size_t found = _sections.size();
    if (!iForce) {
        if (_unclosed.line > 0) {
            oMessages = _fileName + ":" + std::to_string(_unclosed.line) +
                        ": error: user-code section is not closed by a line \"// End of User Code\"; "
                        "nothing written (--force overwrites the file)\n";
            return false;
        }
        if (found != wanted) {
            oMessages = _fileName + ": error: the file holds " + SectionCount(found) + ", the template now makes " +
                        std::to_string(wanted) + "; nothing written (--force keeps sections by position)\n";
            return false;
        }
    }
    for (size_t i = 0; i < wanted; ++i) {
        oTexts.push_back(i < found ? _sections[i].text : iModelTexts[i]);
    }
    for (size_t i = wanted; i < found; ++i) {
        oMessages += DropMessage(i + 1, _sections[i]);
    }
    if (_unclosed.line > 0) {
        oMessages += DropMessage(found + 1, _unclosed);
    }
    return true;
}
