#include "ParserMemory.h"

#include <memory>

#include "AllocationCounter.h"
#include "MTTBlockPool.h"
#include "MTTIStatement.h"
#include "TemplateParser.h"

namespace {

size_t PoolInUse()
{
    MTTBlockPool::SettleThread();
    return MTTBlockPool::HeldBytes() - MTTBlockPool::IdleBytes();
}

size_t Directives(const std::string& iText)
{
    size_t count = 0;
    for (size_t at = iText.find("[%"); at != std::string::npos; at = iText.find("[%", at + 2)) ++count;
    return count;
}

}  // namespace

bool ParserMemory::Report(std::FILE* iStream, const std::string& iTemplate, size_t iBytes)
{
    std::string text;
    text.reserve(iBytes + iTemplate.size());
    while (text.size() < iBytes) text += iTemplate;
    const size_t directives = Directives(text);
    const size_t textBytes = text.size();
    if (!AllocationCounter::Enabled() || directives == 0) {
        std::fprintf(iStream, "\nParser memory: not measured here (allocation counting is off)\n");
        return true;
    }
    const size_t poolBefore = PoolInUse();
    const size_t heldBefore = MTTBlockPool::HeldBytes();
    AllocationCounter::Start();
    TemplateParser parser("memory.mtt");
    std::unique_ptr<MTTIStatement> tree(parser.Parse(std::move(text)));
    AllocationCounter::Stop();
    const AllocationCounter::Figures figures = AllocationCounter::Current();
    // Chunks the pool took from the system during the parse are in the
    // heap figures already; only chunks it had kept idle from earlier work
    // are added, so that no byte counts twice.
    const size_t poolGrowth = PoolInUse() - poolBefore;
    const size_t newChunks = MTTBlockPool::HeldBytes() - heldBefore;
    const size_t pool = poolGrowth > newChunks ? poolGrowth - newChunks : 0;
    if (!tree) {
        std::fprintf(iStream, "mtt_bench: the repeated template does not parse:\n%s", parser.Errors().c_str());
        return false;
    }
    const double total = static_cast<double>(figures.peakBytes) + static_cast<double>(pool + textBytes);
    std::fprintf(iStream,
                 "\nParser memory: %.1f MB template, %zu directives: peak heap %.1f MB + reused block-pool chunks "
                 "%.1f MB + the text it keeps %.1f MB = %.0f bytes per directive\n",
                 static_cast<double>(textBytes) / 1e6, directives, static_cast<double>(figures.peakBytes) / 1e6,
                 static_cast<double>(pool) / 1e6, static_cast<double>(textBytes) / 1e6,
                 total / static_cast<double>(directives));
    return true;
}
