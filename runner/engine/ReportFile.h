// The report file and the temporary report file.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace runner {

class Platform;
class PlatformFile;
class RunServices;
struct RunSettings;

// Whether the bytes are plain ASCII or UTF-8 throughout: a command's report
// output that is not is taken to be in the DOS code page.
bool IsAsciiOrUtf8(std::string_view bytes);

// The temporary report name for a report and a temporary extension; false
// when the report's extension equals tempExt ignoring case.
bool TemporaryReportName(const RunSettings& settings, Platform& platform, std::string& name);

class ReportFile {
public:
    ReportFile(const RunSettings& settings, RunServices& ui, Platform& platform);
    ~ReportFile();

    // False (refused) after telling the user why, or on Cancel.
    bool OpenReport();
    void CollectCommandReport(std::string_view shortValue, std::string_view longName);
    void CloseReport();
    // Closes without the closing texts, as a stopped run does; an empty
    // report is deleted as at the end of a run.
    void CloseWithoutFinishing();

private:
    // One write at the current end; a failure is told every time.
    bool WriteReportText(std::string_view text);
    bool WriteReportBytes(const void* bytes, size_t count);
    // Moves the temporary file of a failed copy out of the next command's way.
    void KeepTemporary();

    const RunSettings& settings;
    RunServices& ui;
    Platform& platform;
    std::unique_ptr<PlatformFile> file;
    std::string temporaryName;
};

}  // namespace runner
