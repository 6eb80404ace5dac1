#include "runner/engine/ReportFile.h"

#include "runner/engine/Platform.h"
#include "runner/engine/RunServices.h"
#include "runner/engine/RunSettings.h"

#include <ctime>

namespace runner {

namespace {

constexpr std::string_view appendSeparator = "\r\n================================\r\n\r\n";
constexpr std::string_view tableOpening = "<table border=\"1\" cellpadding=\"2\" cellspacing=\"0\">\r\n";
constexpr std::string_view tableClosing = "\r\n</table>";
constexpr size_t copyBlock = 1024;

std::string FormatTime(const std::tm& time, const char* format) {
    char text[128];
    size_t length = std::strftime(text, sizeof text, format, &time);
    return std::string(text, length);
}

// The run and file time texts.
std::string RunTimeText(const std::tm& time) {
    return FormatTime(time, "%A %Y-%m-%d %H:%M:%S");
}

std::string FileTimeText(const std::tm& time) {
    return FormatTime(time, "%Y-%m-%d %H:%M:%S");
}

// The report's heading: the pattern, the time of the run and the command.
std::string RunInformation(const RunSettings& settings, const std::string& runTime, const std::string& charset) {
    std::string info;
    if (settings.handling < HandlingHtml) {
        info = settings.cwd + "\\" + settings.files + "\r\n" + runTime + "\r\n" + settings.program + " " +
               settings.command + "\r\n\r\n";
    } else {
        info = "<html><head>";
        if (!charset.empty()) info += "<meta charset=\"" + charset + "\">\r\n";
        info += "<title>Lorvan " + settings.files +
                "</title>\r\n"
                "<base target=\"lorvan\">\r\n"
                "<style><!-- h2, h3 {margin: 0} h4 {margin-top: 0} --></style>\r\n"
                "</head>\r\n"
                "<body bgcolor=\"#F0F0F0\">\r\n"
                "<h2 align=\"center\">" +
                settings.cwd + "\\" + settings.files +
                "</h2>\r\n"
                "<h3 align=\"center\">" +
                runTime +
                "</h3>\r\n"
                "<h4 align=\"center\">" +
                settings.program + " " + settings.command + "</h4>\r\n";
        if (settings.handling == HandlingHtmlTable) info += tableOpening;
    }
    return info;
}

}  // namespace

bool IsAsciiOrUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        // The continuation bytes the lead byte announces (4: none can follow it);
        // overlong forms, surrogates and what lies past U+10FFFF are not UTF-8.
        const size_t more = lead < 0x80                    ? 0
                            : lead >= 0xC2 && lead <= 0xDF ? 1
                            : lead >= 0xE0 && lead <= 0xEF ? 2
                            : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                           : 4;
        if (more == 4 || bytes.size() - i <= more) return false;
        const unsigned char second = more ? static_cast<unsigned char>(bytes[i + 1]) : 0x80;
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
            (lead == 0xF4 && second > 0x8F))
            return false;
        for (size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += more + 1;
    }
    return true;
}

bool TemporaryReportName(const RunSettings& settings, Platform& platform, std::string& name) {
    const std::string& report = settings.report;
    // Windows takes "/" for a separator too: the name part begins after the
    // last of either.
    size_t dot = text::FindLastChar(report, ".", platform);
    size_t slash = text::FindLastChar(report, "\\/", platform);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        name = report + settings.tempExt;
        return true;
    }
    if (platform.CompareNoCase(std::string_view(report).substr(dot), settings.tempExt) == 0) return false;
    name = report.substr(0, dot) + settings.tempExt;
    return true;
}

ReportFile::ReportFile(const RunSettings& settings, RunServices& ui, Platform& platform)
    : settings(settings), ui(ui), platform(platform) {}

ReportFile::~ReportFile() = default;

bool ReportFile::OpenReport() {
    if (!TemporaryReportName(settings, platform, temporaryName)) {
        ui.Ask("The Report and Temporary files' extensions must be different", lorvanTitle, Buttons::Ok, Icon::None);
        return false;
    }
    platform.RemoveFile(temporaryName);  // usually there is none

    file = platform.OpenForWriting(settings.report);
    if (file) {
        const bool text = settings.handling < HandlingHtml;
        Answer answer =
            text ? ui.Ask("Report file already exists, delete?\r\n\r\n(Yes = delete, No = append)", lorvanTitle,
                          Buttons::YesNoCancel, Icon::Question)
                 : ui.Ask("Report file already exists, delete?", lorvanTitle, Buttons::OkCancel, Icon::Question);
        if (answer == Answer::Cancel) {
            file.reset();
            return false;
        }
        if (answer == Answer::No) {
            file->SeekToEnd();
            WriteReportText(appendSeparator);
        } else {
            file->Truncate();
        }
    } else {
        file = platform.CreateForWriting(settings.report);
        if (!file) {
            ui.Ask("Cannot create Report file", lorvanTitle, Buttons::Ok, Icon::None);
            return false;
        }
    }

    if (WantsRunInformation(settings))
        WriteReportText(RunInformation(settings, RunTimeText(platform.LocalTime()), platform.ReportCharset()));
    return true;
}

void ReportFile::CollectCommandReport(std::string_view shortValue, std::string_view longName) {
    std::unique_ptr<PlatformFile> temporary = platform.OpenForReading(temporaryName);
    if (!temporary) return;  // the command wrote none
    bool copied = true;
    if (temporary->Size() != 0) {
        if (settings.handling == HandlingNameTime) {
            std::string line = "\r\n";
            line += shortValue;
            line += " - ";
            line += longName;
            line += "\r\n" + FileTimeText(platform.LocalTime()) + "\r\n";
            WriteReportText(line);
        }
        // Read whole: whether it is in the DOS code page is told by all of it.
        std::string output;
        char block[copyBlock];
        size_t got = 0;
        do {
            if (!temporary->Read(block, sizeof block, got)) {
                copied = false;
                break;
            }
            output.append(block, got);
        } while (got == sizeof block);
        if (copied && !output.empty())
            copied = WriteReportText(IsAsciiOrUtf8(output) ? output : platform.FromOem(output));
    }
    temporary.reset();
    if (copied)
        platform.RemoveFile(temporaryName);
    else
        KeepTemporary();
}

void ReportFile::KeepTemporary() {
    // The next command writes the temporary name again: the output that did
    // not reach the report moves to a name of its own, REPORT-1.TMP and on.
    constexpr int maxKept = 999;
    const std::string base = temporaryName.substr(0, temporaryName.size() - settings.tempExt.size());
    for (int n = 1; n <= maxKept; ++n) {
        std::string kept = base + "-" + std::to_string(n) + settings.tempExt;
        if (platform.Exists(kept) || !platform.RenameFile(temporaryName, kept)) continue;
        ui.AppendStatus("Its report output is kept in " + kept);
        return;
    }
    ui.AppendStatus("Its report output is left in " + temporaryName);
}

void ReportFile::CloseReport() {
    if (!file) return;
    if (settings.handling == HandlingHtml || settings.handling == HandlingHtmlTable) {
        std::string closing(settings.handling == HandlingHtmlTable ? tableClosing : "");
        closing += "\r\n</body>\r\n</html>";
        WriteReportText(closing);
    }
    CloseWithoutFinishing();
}

void ReportFile::CloseWithoutFinishing() {
    if (!file) return;
    // An empty report is not kept, however the run ends.
    uint64_t size = file->Size();
    file.reset();
    if (size == 0) platform.RemoveFile(settings.report);
}

bool ReportFile::WriteReportText(std::string_view text) {
    return WriteReportBytes(text.data(), text.size());
}

bool ReportFile::WriteReportBytes(const void* bytes, size_t count) {
    if (file && file->Write(bytes, count)) return true;
    ui.Ask("Writing to the Report file failed", lorvanTitle, Buttons::Ok, Icon::Exclamation);
    return false;
}

}  // namespace runner
