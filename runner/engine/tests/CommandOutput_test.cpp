#include "FakePlatform.h"

#include "runner/engine/CommandOutput.h"

#include <gtest/gtest.h>

using namespace runner;

TEST(CommandOutput, TheFirstLinesShownTheRestCounted) {
    FakePlatform platform;
    const std::string line = std::string(100, 'x') + "\n", longLine(9000, 'y');
    std::string lines;
    for (int i = 0; i < 45; ++i) lines += line;
    // what the command wrote (in pieces of any size), the lines shown, the count line
    for (auto [written, shown, count] : {std::tuple{std::string(), 0u, ""},
                                         {lines, 40u, "(5 more line(s) not shown)"},
                                         {lines + "end", 40u, "(6 more line(s) not shown)"},
                                         {longLine + "\nnext\n", 1u, "(1 more line(s) not shown)"}}) {
        CommandOutput output;
        for (size_t at = 0; at < written.size(); at += 333) output.Append(written.substr(at, 333));
        const std::string text = output.Shown(platform);
        size_t lineCount = 0;
        for (size_t at = 0; (at = text.find("\r\n    ", at)) != std::string::npos; ++at) ++lineCount;
        EXPECT_EQ(lineCount, shown + (*count ? 1 : 0)) << written.size();
        EXPECT_TRUE(text.ends_with(count)) << written.size();
        EXPECT_LE(text.size(), CommandOutput::keptBytes + 40 * 6 + 40);
    }
}
