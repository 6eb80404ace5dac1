#include "FakePlatform.h"

#include "runner/engine/CommandOutput.h"

#include <gtest/gtest.h>

using namespace runner;

TEST(CommandOutput, TheFirstLinesShownTheRestCounted) {
    FakePlatform platform;
    CommandOutput lines, longLine;
    for (int i = 0; i < 45; ++i) lines.Append(i % 2 ? "odd\n" : "even\r\n");
    lines.Append("end");                                   // a last line without its end counts too
    longLine.Append(std::string(9000, 'y') + "\nnext\n");  // the rest of a cut line is no line of its own
    std::string shown;
    for (int i = 0; i < 40; ++i) shown += i % 2 ? "\r\n    odd" : "\r\n    even";
    EXPECT_EQ(lines.Shown(platform), shown + "\r\n    (6 more line(s) not shown)");
    EXPECT_EQ(longLine.Shown(platform),
              "\r\n    " + std::string(CommandOutput::keptBytes, 'y') + "\r\n    (1 more line(s) not shown)");
}
