#include "FakePlatform.h"

#include "runner/engine/CommandOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace runner;

TEST(CommandOutput, TheFirstLinesShownTheRestCounted) {
    FakePlatform platform;
    std::string lines;
    for (int i = 0; i < 45; ++i) lines += std::string(100, 'x') + "\n";
    // written (in pieces of any size), the lines shown, the count line
    for (auto [written, shown, count] :
         {std::tuple{std::string(), 0, ""},
          {lines, 40, "\r\n    (5 more line(s) not shown)"},
          {lines + "end", 40, "\r\n    (6 more line(s) not shown)"},
          {std::string(9000, 'y') + "\nnext\n", 1, "\r\n    (1 more line(s) not shown)"}}) {
        CommandOutput output;
        for (size_t at = 0; at < written.size(); at += 333) output.Append(written.substr(at, 333));
        const std::string text = output.Shown(platform), shownPart = text.substr(0, text.size() - strlen(count));
        EXPECT_EQ(std::count(shownPart.begin(), shownPart.end(), '\n'), shown) << written.size();
        EXPECT_TRUE(text.ends_with(count) && shownPart.size() <= CommandOutput::keptBytes + 40 * 6) << written.size();
    }
}
