// The world of most engine tests: the in-memory platform in C:\DATA, the
// settings of a run of DOSCONV over *.txt, and the stand-in main dialog.
#pragma once

#include "FakePlatform.h"
#include "FakeServices.h"

#include <gtest/gtest.h>

namespace runner {

// How a report opens: the text modes' run information and the HTML head,
// for the file pattern in its directory, the run's time and the command line.
inline std::string TextReportInfo(const std::string& where, const std::string& time, const std::string& command) {
    return where + "\r\n" + time + "\r\n" + command + "\r\n\r\n";
}
inline std::string HtmlReportHead(const std::string& where, const std::string& time, const std::string& command,
                                  const std::string& charset = "") {
    return "<html><head>" + (charset.empty() ? "" : "<meta charset=\"" + charset + "\">\r\n") +
           "<title>Lorvan *.txt</title>\r\n<base target=\"lorvan\">\r\n<style><!-- h2, h3 {margin: 0} h4 "
           "{margin-top: 0} --></style>\r\n</head>\r\n<body bgcolor=\"#F0F0F0\">\r\n<h2 align=\"center\">" +
           where + "</h2>\r\n<h3 align=\"center\">" + time + "</h3>\r\n<h4 align=\"center\">" + command + "</h4>\r\n";
}

class EngineTest : public ::testing::Test {
protected:
    FakePlatform platform{"C:\\DATA"};
    RunSettings settings{platform.Cwd(), "DOSCONV", "*.txt", "* OUTPUT\\*"};
    FakeServices ui;
};

}  // namespace runner
