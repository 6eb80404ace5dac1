#include "runner/engine/FileOrder.h"

#include <gtest/gtest.h>

using namespace runner;

// Files end in the order given; what each end tells, in file order.
TEST(FileOrder, ALineWaitsForEveryLineBeforeIt) {
    const struct {
        std::vector<uint32_t> ends;
        std::vector<std::string> told;  // after each end, the files told ("" none)
    } cases[] = {
        {{1, 2, 3}, {"1", "2", "3"}},
        {{3, 2, 1}, {"", "", "123"}},
        {{2, 1, 4, 3}, {"", "12", "", "34"}},
        {{1, 3, 2, 4}, {"1", "", "23", "4"}},
    };
    for (const auto& c : cases) {
        FileOrder order;
        for (size_t i = 0; i < c.ends.size(); ++i) {
            std::string told;
            for (const std::string& line : order.Add(c.ends[i], std::to_string(c.ends[i]))) told += line;
            EXPECT_EQ(told, c.told[i]) << "end " << i;
        }
    }
}
