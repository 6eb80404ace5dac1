// Stands in for the DOS program in the Wine tests.
//   fakedos IN OUT TEMP
// Copies IN to OUT and follows the directives in IN's lines:
//   exit N          exit with status N
//   noout           write no OUT
//   report TEXT     add TEXT and CR LF to TEMP
//   sleep MS        wait MS milliseconds before writing anything
//   console         add to TEMP whether its console has a visible window
//   say TEXT        write TEXT (its bytes as they are) and CR LF to standard output
//   ask             ask on standard output, and read the answer from standard input
//   flood KB        write that many kilobytes of lines to standard output
//   child MS        start a copy of itself that sleeps MS milliseconds, and not wait
// It echoes its arguments to args.log in the current directory.
//   fakedos --sleep MS   only sleeps
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--sleep") return Sleep(std::stoul(argv[2])), 0;
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
        if (line.rfind("say ", 0) == 0) std::printf("%s\r\n", line.substr(4).c_str());
        if (line == "ask") {
            std::printf("File exists. Overwrite (Y/N)?");
            std::fflush(stdout);
            char answer[16] = "";
            std::printf(std::fgets(answer, sizeof answer, stdin) ? "\r\nanswered\r\n" : "\r\nno answer\r\n");
        }
        if (line.rfind("flood ", 0) == 0)
            for (unsigned long k = std::stoul(line.substr(6)) * 16; k > 0; --k) std::printf("%062lu\r\n", k);
        if (line.rfind("child ", 0) == 0) {
            char self[MAX_PATH];
            GetModuleFileNameA(nullptr, self, MAX_PATH);
            std::string command = "fakedos --sleep " + line.substr(6);
            STARTUPINFOA startup{sizeof startup};
            PROCESS_INFORMATION child{};
            if (CreateProcessA(self, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
                CloseHandle(child.hProcess), CloseHandle(child.hThread);
        }
        if (line == "console")  // a console without a window is not visible either
            report += IsWindowVisible(GetConsoleWindow()) ? "visible console\r\n" : "no visible console\r\n";
    }
    if (output) std::ofstream(argv[2], std::ios::binary) << content.str();
    if (!report.empty()) std::ofstream(argv[3], std::ios::binary | std::ios::app) << report;
    std::fflush(stdout);
    return status;
}
