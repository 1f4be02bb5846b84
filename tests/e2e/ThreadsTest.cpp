// Hosts on many threads: each thread renders with its own environment (the
// tree and the model are shared, read-only), outputs are deleted by other
// threads than the ones that made them, and threads come and go. Every
// render gives the same text, and memory stays bounded: what a thread
// freed, or left behind when it ended, is used again.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "MTLIModelObject.h"
#include "MTTBlockPool.h"
#include "MTTEvaluateText.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "NodeKit.h"
#include "ResidentMemory.h"

using namespace kit;

#if defined(__SANITIZE_ADDRESS__)
#define UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define UNDER_ASAN 1
#endif
#endif

namespace {

// A list of elements, each with a name; read-only, so threads may share it.
class Element : public MTLIModelObject {
public:
    int GetKind() override { return _elements.empty() ? 0 : 1; }
    MTLIModelObject* GetProperty(const MTTString& iName) override { return iName == "items" ? this : nullptr; }
    int GetSize() override { return static_cast<int>(_elements.size()); }
    MTLIModelObject* GetElement(int iIndex) override { return _elements[static_cast<size_t>(iIndex)].get(); }
    MTTString GetValue(const char*) override { return _name; }

    MTTString _name;
    std::vector<std::unique_ptr<Element>> _elements;
};

struct Workload {
    Element root;
    std::unique_ptr<MTTIStatement> tree;
    std::string expected;

    explicit Workload(int iItems)
    {
        for (int i = 0; i < iItems; ++i) {
            root._elements.emplace_back(new Element());
            root._elements.back()->_name = ("item number " + std::to_string(i)).c_str();
        }
        tree.reset(Foreach(Prop("", "items"), List({Text("<"), Expr(Prop("n", "")),
                                                    If(Eq(Prop("n", ""), Str("x")), Text("!"), Text(">\n"))})));
        for (const auto& element : root._elements)
            expected += "<" + std::string(element->_name.ConvertToChar()) + ">\n";
    }

    // One render each way; the tree's output is handed to iHandOff.
    void Render(std::vector<MTTEvaluationOutput*>& ioHandOff, std::mutex& ioLock, bool& ioSame)
    {
        MTTEvaluationEnvironment environment(&root);
        MTTEvaluationOutput* output = tree->Evaluate(&environment);
        MTTString text;
        bool same = MTTEvaluateText(tree.get(), &environment, text) == S_OK && expected == text.ConvertToChar();
        same = same && output != nullptr && expected == TextOf(output);
        std::lock_guard<std::mutex> guard(ioLock);
        ioSame = ioSame && same;
        ioHandOff.push_back(output);
    }
};

// Growth allowed between the first round and the last: a few chunks per
// thread and the allocator's own slack, far below what one round uses.
const long kSlackKiB = 24 * 1024;

}  // namespace

TEST(Threads, OutputsMadeOnOneThreadAndFreedOnAnother)
{
    Workload work(1500);
    std::vector<MTTEvaluationOutput*> handOff;
    std::mutex lock;
    bool same = true;
    auto round = [&] {
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < 8; ++i) {
                    work.Render(handOff, lock, same);
                    // Free what some other thread made, while renders go on.
                    MTTEvaluationOutput* other = nullptr;
                    {
                        std::lock_guard<std::mutex> guard(lock);
                        if (handOff.size() > 2) {
                            other = handOff.front();
                            handOff.erase(handOff.begin());
                        }
                    }
                    delete other;
                }
            });
        }
        for (std::thread& thread : threads) thread.join();
    };
    round();
    long resident = ResidentKiB();
    size_t held = MTTBlockPool::HeldBytes();
    for (int again = 0; again < 4; ++again) round();
    EXPECT_TRUE(same);
    for (MTTEvaluationOutput* output : handOff) delete output;
    EXPECT_LE(MTTBlockPool::HeldBytes(), held + kSlackKiB * 1024u);
    EXPECT_LE(ResidentKiB(), resident + kSlackKiB);
}

TEST(Threads, ShortLivedThreadsLeaveTheirMemoryForReuse)
{
    Workload work(200);
    std::vector<MTTEvaluationOutput*> handOff;
    std::mutex lock;
    bool same = true;
    auto wave = [&](int iThreads) {
        for (int t = 0; t < iThreads; ++t) {
            std::thread([&] { work.Render(handOff, lock, same); }).join();
            delete handOff.back();
            handOff.pop_back();
        }
    };
    wave(20);
    long resident = ResidentKiB();
    size_t held = MTTBlockPool::HeldBytes();
    wave(1000);
    EXPECT_TRUE(same);
    EXPECT_LE(MTTBlockPool::HeldBytes(), held + kSlackKiB * 1024u);
    EXPECT_LE(ResidentKiB(), resident + kSlackKiB);
}

#ifdef UNDER_ASAN
// The pool steps aside for the sanitizer, which must see a stale output.
TEST(ThreadsDeathTest, TheSanitizerSeesAUseAfterRelease)
{
    EXPECT_FALSE(MTTBlockPool::Pooling());
    EXPECT_DEATH(
        {
            std::unique_ptr<MTTIStatement> text(Text("stale"));
            Element root;
            MTTEvaluationEnvironment environment(&root);
            MTTEvaluationOutput* output = text->Evaluate(&environment);
            delete output;
            std::printf("%d", static_cast<int>(output->IsEmpty()));
        },
        "use-after-free");
}
#endif
