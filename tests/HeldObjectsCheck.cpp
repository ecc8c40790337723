// Every window test ends with nothing made during it still held: each GDI
// object deleted or given to a window, each device context released, each
// name and system object made for a screen reader let go, each window and
// timer gone. The fault sweep's hooks follow them all, and here fail no call.
#include "FaultInjection.h"

#include <gtest/gtest.h>

namespace {

class HeldObjectsCheck : public testing::EmptyTestEventListener {
    void OnTestProgramStart(const testing::UnitTest&) override { m_installed = fault::Install(); }
    void OnTestStart(const testing::TestInfo&) override { fault::Watch(); }
    void OnTestEnd(const testing::TestInfo&) override
    {
        fault::End();
        EXPECT_TRUE(m_installed) << "the import table could not be patched";
        for (const fault::Made& made : fault::StillHeld())
            ADD_FAILURE() << "what " << fault::kFunctionNames[made.by] << ":" << made.call << " made outlived the test";
    }
    bool m_installed = false;
};

const bool g_registered = (testing::UnitTest::GetInstance()->listeners().Append(new HeldObjectsCheck), true);

}  // namespace
