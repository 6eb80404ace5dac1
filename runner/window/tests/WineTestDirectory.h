// A fresh directory under the temporary folder for each test, made the
// current directory (the engine works relative to it), removed afterwards.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>

class WineTestDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        char buffer[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, buffer);
        previous = buffer;
        GetTempPathA(MAX_PATH, buffer);
        static int serial = 0;
        directory =
            std::string(buffer) + "lorvan-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
        ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
        ASSERT_TRUE(SetCurrentDirectoryA(directory.c_str()));
        GetCurrentDirectoryA(MAX_PATH, buffer);
        cwd = buffer;
    }
    void TearDown() override {
        SetCurrentDirectoryA(previous.c_str());
        RemoveTree(directory);
    }

    const std::string& Cwd() const { return cwd; }

    static void PutFile(const std::string& name, const std::string& content) {
        std::ofstream(name, std::ios::binary) << content;
    }
    static std::string FileText(const std::string& name) {
        std::stringstream text;
        text << std::ifstream(name, std::ios::binary).rdbuf();
        return text.str();
    }
    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    // The 8.3 alias the file system gives the entry; empty if none.
    static std::string AliasOf(const std::string& path) {
        WIN32_FIND_DATAA data{};
        HANDLE find = FindFirstFileA(path.c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        return data.cAlternateFileName;
    }
    // The files of a directory and their contents.
    static std::map<std::string, std::string> Listing(const std::string& dir) {
        std::map<std::string, std::string> names;
        ForEach(dir,
                [&](const std::string& path, const WIN32_FIND_DATAA& data) { names[data.cFileName] = FileText(path); });
        return names;
    }
    // Whether the file system refuses to write a read-only file. Wine maps
    // the attribute to Unix permissions, which do not bind the root user.
    static bool ReadOnlyEnforced() {
        PutFile("ro.probe", "x");
        SetFileAttributesA("ro.probe", FILE_ATTRIBUTE_READONLY);
        HANDLE handle = CreateFileA("ro.probe", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const bool enforced = handle == INVALID_HANDLE_VALUE;
        if (!enforced) CloseHandle(handle);
        SetFileAttributesA("ro.probe", FILE_ATTRIBUTE_NORMAL);
        DeleteFileA("ro.probe");
        return enforced;
    }
    static std::string ExeDirectory() {
        char buffer[MAX_PATH];
        std::string path(buffer, GetModuleFileNameA(nullptr, buffer, MAX_PATH));
        return path.substr(0, path.rfind('\\'));
    }

private:
    // Every entry of a directory but "." and "..".
    static void ForEach(const std::string& dir,
                        const std::function<void(const std::string&, const WIN32_FIND_DATAA&)>& each) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            if (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..")
                each(dir + "\\" + data.cFileName, data);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    static void RemoveTree(const std::string& dir) {
        ForEach(dir, [](const std::string& path, const WIN32_FIND_DATAA& data) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        });
        RemoveDirectoryA(dir.c_str());
    }

    std::string previous;
    std::string directory;
    std::string cwd;
};
