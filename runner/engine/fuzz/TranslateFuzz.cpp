// The translate value: the short path relative to the working directory, and
// MakeFileValues over a small tree, in code pages 1252 and 932.
#include "FuzzSupport.h"

#include "runner/engine/CommandTemplate.h"
#include "runner/engine/FileDiscovery.h"
#include "runner/engine/RunSettings.h"

namespace runner::fuzz {

int FuzzTranslate(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const char* const cwds[] = {"C:\\DATA", "C:\\", "C:\\\x95\x5C", "D:\\A\\B\\C"};
    const std::string cwd = cwds[in.Byte() % 4];
    FakePlatform platform(cwd, in.Flag() ? 932 : 1252);
    const std::string shortPath = in.Text(64), otherCwd = in.Text(32);
    const std::string relative = RelativeToCwd(shortPath, otherCwd, platform);
    Check(relative.size() <= shortPath.size() && shortPath.ends_with(relative),
          "relative path is not the end of the short path");

    platform.AddDirectory("Page_files", "PAGE_F~1");
    platform.AddDirectory("My Page_files", "MYPAGE~1");
    platform.AddDirectory("My Page_files\\sub");
    if (platform.Has("C:\\")) platform.AddDirectory("C:\\OTHER");
    if (in.Flag()) platform.Find("My Page_files")->failShortPath = true;
    RunSettings settings{cwd};
    const char* const translates[] = {"**_files", "*:*_files", "C:\\OTHER", "\\", "**_files\\sub", " ", "*L*_files"};
    settings.translate = in.OneOf(translates, 40);
    settings.fullPath = in.Flag();
    settings.test = in.Flag();
    const char* const names[] = {"My Page.htm", "Page.html", ".htm", "Page", "\x95\x5C.txt"};
    const FileEntry entry{in.Text(12), in.OneOf(names, 24)};
    for (int set = -1; set < symbolSetCount; ++set) {
        const FileValues values =
            MakeFileValues(entry, settings, ReadSymbolSet(set < 0 ? "" : symbolSetTexts[set]), platform);
        Check(values.longValue == entry.longName, "long value changed");
        // (Empty is right for a translate path naming the working directory itself.)
        Check(values.translateValue == noTranslateMarker || IsTranslateOn(settings), "translated while off");
        if (values.translateValue == noTranslateMarker) continue;
        const std::string& value = values.translateValue;
        for (size_t i = 0; i < value.size(); i += platform.IsLeadByte(value[i]) ? 2 : 1)
            Check(value[i] < 'a' || value[i] > 'z', "a small letter in the translate value");
    }
    return 0;
}

}  // namespace runner::fuzz
