#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "MTTDefaultNodeVisitor.h"
#include "MTTIStatement.h"
#include "MTTTreeWalkVisitor.h"

namespace {

// A test-only node with a name, owned children, and a child count that may
// claim more children than it has (the missing ones answer null).
class Named : public MTTIStatement {
public:
    Named(const char* iName, std::vector<MTTNode*> iChildren = {}, int iClaimed = -1)
        : name(iName), _children(iChildren), _claimed(iClaimed < 0 ? static_cast<int>(iChildren.size()) : iClaimed)
    {
    }
    ~Named() override
    {
        for (MTTNode* child : _children) delete child;
    }
    long Accept(MTTINodeVisitor* visitor) override
    {
        MTTDefaultNodeVisitor* generic = dynamic_cast<MTTDefaultNodeVisitor*>(visitor);
        return generic ? generic->VisitNode(this) : E_FAIL;
    }
    int GetChildCount() override
    {
        ++countReads;
        return _claimed;
    }
    MTTNode* GetChild(int i) override
    {
        return i >= 1 && i <= static_cast<int>(_children.size()) ? _children[i - 1] : nullptr;
    }
    MTTEvaluationOutput* Evaluate(MTTEvaluationEnvironment*) override { return nullptr; }
    MTTEvaluationOutput* LateEvaluate(MTTEvaluationEnvironment*) override { return nullptr; }

    std::string name;
    int countReads = 0;

private:
    std::vector<MTTNode*> _children;
    int _claimed;
};

// Records the names of the nodes it sees and
// answers a chosen result per name.
struct Recorder : MTTDefaultNodeVisitor {
    Recorder(std::vector<std::string>* ioSeen, std::map<std::string, long> iResults, int* ioDeleted)
        : seen(ioSeen), results(iResults), deleted(ioDeleted)
    {
    }
    ~Recorder() override { ++*deleted; }
    long VisitNode(MTTNode* iNode) override
    {
        Named* named = dynamic_cast<Named*>(iNode);
        return Add(named ? named->name : "?");
    }
    long Add(const std::string& iName)
    {
        seen->push_back(iName);
        return results.count(iName) ? results[iName] : S_OK;
    }
    std::vector<std::string>* seen;
    std::map<std::string, long> results;
    int* deleted;
};

struct WalkResult {
    long result;
    std::vector<std::string> seen;
};

WalkResult Walk(MTTNode* iRoot, std::map<std::string, long> iResults = {})
{
    WalkResult out;
    int deleted = 0;
    {
        MTTTreeWalkVisitor walker(new Recorder(&out.seen, iResults, &deleted));
        out.result = iRoot ? iRoot->Accept(&walker) : walker.VisitNode(nullptr);
    }
    EXPECT_EQ(deleted, 1);  // the walker owns and deletes its inner visitor
    return out;
}

}  // namespace

TEST(TreeWalk, PreOrderWithEarlyStopOnANegativeResult)
{
    // A ( B ( D E ) C ( F ) )
    Named* tree = new Named("A", {new Named("B", {new Named("D"), new Named("E")}), new Named("C", {new Named("F")})});
    struct Row {
        std::map<std::string, long> results;
        long expected;
        std::vector<std::string> seen;
    } rows[] = {
        {{}, S_OK, {"A", "B", "D", "E", "C", "F"}},
        {{{"B", 1}, {"E", 42}}, S_OK, {"A", "B", "D", "E", "C", "F"}},  // positive results go on
        {{{"D", -5}}, -5, {"A", "B", "D"}},
        {{{"C", E_FAIL}}, E_FAIL, {"A", "B", "D", "E", "C"}},
        {{{"A", -1}}, -1, {"A"}},
    };
    for (Row& row : rows) {
        WalkResult walk = Walk(tree, row.results);
        EXPECT_EQ(walk.result, row.expected);
        EXPECT_EQ(walk.seen, row.seen);
    }
    EXPECT_EQ(tree->countReads, 4);  // once per walk that got past the root's own visit
    delete tree;
}

TEST(TreeWalk, NullChildWithinTheCountFailsTheWalk)
{
    for (Named* tree : {new Named("A", {new Named("B"), nullptr, new Named("C")}),
                        new Named("A", {new Named("B")}, 3)}) {  // claims three children
        WalkResult walk = Walk(tree);
        EXPECT_EQ(walk.result, E_FAIL);
        EXPECT_EQ(walk.seen, (std::vector<std::string>{"A", "B"}));
        delete tree;
    }
    WalkResult walk = Walk(nullptr);
    EXPECT_TRUE(walk.result == E_FAIL && walk.seen.empty());
}
