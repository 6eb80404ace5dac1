// Stands in for the DOS program in the Wine tests.
//   fakedos IN OUT TEMP
// Copies IN to OUT and follows the directives in IN's lines:
//   exit N          exit with status N
//   noout           write no OUT
//   report TEXT     add TEXT and CR LF to TEMP
//   sleep MS        wait MS milliseconds before writing anything
//   console         add to TEMP whether its console has a visible window
// It echoes its arguments to args.log in the current directory.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) return 100;
    std::ofstream("args.log", std::ios::binary | std::ios::app)
        << argv[1] << ' ' << argv[2] << ' ' << argv[3] << "\r\n";
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) return 101;
    std::stringstream content;
    content << in.rdbuf();
    int status = 0;
    bool output = true;
    std::string report;
    std::istringstream lines(content.str());
    for (std::string line; std::getline(lines, line);) {
        line = line.substr(0, line.find('\r'));
        if (line.rfind("exit ", 0) == 0) status = std::stoi(line.substr(5));
        output = output && line != "noout";
        if (line.rfind("report ", 0) == 0) report += line.substr(7) + "\r\n";
        if (line.rfind("sleep ", 0) == 0) Sleep(std::stoul(line.substr(6)));
        if (line == "console")  // a console without a window is not visible either
            report += IsWindowVisible(GetConsoleWindow()) ? "visible console\r\n" : "no visible console\r\n";
    }
    if (output) std::ofstream(argv[2], std::ios::binary) << content.str();
    if (!report.empty()) std::ofstream(argv[3], std::ios::binary | std::ios::app) << report;
    return status;
}
