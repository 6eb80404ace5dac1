// The report framing, text and HTML: any report and temporary names, any
// answers, any bytes in the temporary reports, failing writes. What a run
// would not give it (a temporary extension Run refuses) must not crash it;
// otherwise no output is lost and no other file is touched.
#include "FuzzSupport.h"

#include "runner/engine/ReportFile.h"
#include "runner/engine/RunSettings.h"
#include "runner/engine/tests/FakeServices.h"

#include <map>

namespace runner::fuzz {

int FuzzReport(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    FakePlatform platform("C:\\DATA", in.Flag() ? 932 : 1252);
    platform.AddDirectory("OLD.DIR");
    const std::map<std::string, std::string> userFiles = {
        {"OLD.TMP", "mine"}, {"REPORT", "mine too"}, {"OLD.DIR\\X.TXT", "x"}, {"C:\\UP.TXT", "up"}};
    for (auto& [path, content] : userFiles) platform.AddFile(path, content);

    RunSettings settings{platform.Cwd(), "DOSCONV", "*.txt", "* OUTPUT\\*"};
    const char* const reports[] = {"REPORT.TXT", "REPORT.LRV", "OLD.DIR/REPORT", "OLD.DIR\\R.TXT", "R", "X.\x83\x5C"};
    const char* const exts[] = {".TMP", ".T", ".tmp", ".", ".."};
    settings.report = in.OneOf(reports, 16);
    settings.tempExt = in.OneOf(exts, 4);
    settings.handling = in.Byte() % 6 - 1;
    settings.nameTimeWithoutRunInformation = in.Flag();
    FakeServices ui;
    for (int i = in.Byte() % 4; i > 0; --i) ui.answers.push_back(Answer(in.Byte() % 4));
    if (in.Flag() && !platform.Has(settings.report)) TryAdd(platform, settings.report, "old report");
    const bool usable = IsTempExtUsable(settings, platform) && settings.handling < HandlingNone;
    const std::string reportPath = platform.FullPath(settings.report);

    ReportFile report(settings, ui, platform);
    if (!report.OpenReport()) return 0;
    std::string temporary;
    TemporaryReportName(settings, platform, temporary);
    FakeNode* file = platform.Find(settings.report);
    Check(file != nullptr, "report open but not there");
    const bool failing = in.Flag();
    file->failWrite = failing;
    const std::string opened = file->content;

    std::string contents;
    std::vector<std::string> written;
    for (int i = in.Byte() % 5; i > 0; --i) {
        std::string content = in.Text(255) + std::string(in.Byte() % 4 * 512, char(in.Byte()));
        if (!platform.Has(temporary)) {
            if (!TryAdd(platform, temporary, content)) continue;
            // Output in the DOS code page reaches the report converted.
            contents += IsAsciiOrUtf8(content) ? content : platform.FromOem(content);
            if (!content.empty()) written.push_back(content);
        }
        report.CollectCommandReport(in.Text(12), in.Text(20));
    }
    const int handling = settings.handling;
    report.CloseReport();
    if (!usable) return 0;

    // The report and the temporary name are the user's choice; the rest stays.
    auto named = [&](const std::string& path, const std::string& name) {
        return platform.CompareNoCase(platform.FullPath(path), platform.FullPath(name)) == 0;
    };
    for (auto& [path, content] : userFiles)
        if (platform.CompareNoCase(platform.FullPath(path), reportPath) != 0 && !named(path, temporary))
            Check(platform.Content(path) == content, "a user's file changed: " + path);
    if (!failing && handling == HandlingFilesTime)
        Check(platform.Content(settings.report) == opened + contents, "the report is not its contents");
    if (failing) {
        // Every output that did not reach the report is kept in a file.
        for (const std::string& content : written) {
            bool kept = false;
            for (int n = 1; n <= 9 && !kept; ++n) {
                std::string base = temporary.substr(0, temporary.size() - settings.tempExt.size());
                kept = platform.Content(base + "-" + std::to_string(n) + settings.tempExt) == content;
            }
            Check(kept, "an output that failed to reach the report is lost");
        }
    }
    return 0;
}

}  // namespace runner::fuzz
