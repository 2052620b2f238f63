// Hundreds of random edits on a seeded generator: after every step, accepted
// or refused, the map is sound and survives a save and a load byte for byte.
#include "model/editing.h"
#include "model/map_file.h"
#include "tests/map_invariants.h"
#include "tests/random_edits.h"
#include "tests/test_support.h"

namespace {

class RandomEditingTest : public EditorTest {
protected:
    RandomEdits edits{20261210};
    std::string Step() { return edits.Step(); }
};

TEST_F(RandomEditingTest, MapStaysSoundThroughRandomEdits) {
    int accepted = 0;
    for (int step = 0; step < 600; ++step) {
        const std::string script = Step();
        const std::string before = EncodeMapFile();
        RunScript(script);
        Messages();
        if (EncodeMapFile() != before) ++accepted;
        const std::string problems = CheckMapInvariants();
        ASSERT_EQ(problems, "") << "step " << step << ": " << script;

        const std::string bytes = EncodeMapFile();
        WriteFileBytes("step.kdm", bytes);
        ASSERT_TRUE(LoadMapFile("step.kdm")) << "step " << step << ": " << Messages().at(0);
        ASSERT_EQ(EncodeMapFile(), bytes) << "step " << step;
        Messages();
    }
    // The walk really edits: most steps change the map.
    EXPECT_GT(accepted, 200);
    EXPECT_GT(numlinedefs, 10);
}

}  // namespace
