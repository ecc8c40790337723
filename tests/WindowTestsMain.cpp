// The window tests start as the program does: the common controls are
// loaded and registered before any window is made.
#include "CWinApp.h"
#include "TestWindows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

TestApp g_app;

namespace {

// GoogleTest's patterns: '*' any run of characters, '?' any one.
bool Matches(const char* pattern, const char* name)
{
    if (*pattern == '\0')
        return *name == '\0';
    if (*pattern == '*')
        return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
    return *name && (*pattern == '?' || *pattern == *name) && Matches(pattern + 1, name + 1);
}

// A pattern of the filter that names no test has lost its test, to a rename
// say: the run would pass without it, so it fails instead. Returns the
// patterns that match nothing.
std::string PatternsWithoutATest()
{
    std::string unmatched, filter = GTEST_FLAG_GET(filter);
    const testing::UnitTest& tests = *testing::UnitTest::GetInstance();
    for (size_t begin = 0; begin <= filter.size();) {
        size_t end = filter.find_first_of(":-", begin);
        end = end == std::string::npos ? filter.size() : end;
        const std::string pattern = filter.substr(begin, end - begin);
        bool found = pattern.empty() || pattern == "*";
        for (int s = 0; !found && s < tests.total_test_suite_count(); ++s)
            for (int t = 0; !found && t < tests.GetTestSuite(s)->total_test_count(); ++t) {
                const testing::TestInfo& test = *tests.GetTestSuite(s)->GetTestInfo(t);
                found = Matches(pattern.c_str(), (std::string(test.test_suite_name()) + "." + test.name()).c_str());
            }
        if (!found)
            unmatched += " " + pattern;
        begin = end + 1;
    }
    return unmatched;
}

}  // namespace

int main(int argc, char** argv)
{
    CWinApp::Enable3dControlsStatic();
    ::testing::InitGoogleTest(&argc, argv);
    if (const std::string unmatched = PatternsWithoutATest(); !unmatched.empty()) {
        std::fprintf(stderr, "no test matches the filter's patterns:%s\n", unmatched.c_str());
        return 1;
    }
    // Sizes and places in the tests follow the display's scale.
    std::printf("display: %d DPI\n", ScreenDpi());
    return RUN_ALL_TESTS();
}
