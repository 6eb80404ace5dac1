// A fresh directory under the temporary folder for each test, made the
// current directory (the engine works relative to it), removed afterwards.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

class WineTestDirectory : public ::testing::Test {
protected:
    void SetUp() override
    {
        char buffer[MAX_PATH];
        GetCurrentDirectoryA(MAX_PATH, buffer);
        previous = buffer;
        GetTempPathA(MAX_PATH, buffer);
        static int serial = 0;
        directory = std::string(buffer) + "lorvan-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++serial);
        ASSERT_TRUE(CreateDirectoryA(directory.c_str(), nullptr));
        ASSERT_TRUE(SetCurrentDirectoryA(directory.c_str()));
        GetCurrentDirectoryA(MAX_PATH, buffer);
        cwd = buffer;
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(previous.c_str());
        RemoveTree(directory);
    }

    const std::string& Cwd() const { return cwd; }

    static void PutFile(const std::string& name, const std::string& content)
    {
        std::ofstream(name, std::ios::binary) << content;
    }
    static std::string FileText(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The name an entry is listed under (its letter case), or "" if none.
    static std::string FoundName(const std::string& path)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(path.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return {};
        FindClose(find);
        return data.cFileName;
    }
    static std::string AliasOf(const std::string& path)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(path.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return {};
        FindClose(find);
        return data.cAlternateFileName;
    }
    // The names in a directory, sorted, without "." and "..".
    static std::map<std::string, std::string> Listing(const std::string& dir)
    {
        std::map<std::string, std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            std::string name = data.cFileName;
            if (name != "." && name != "..")
                names[name] = FileText(dir + "\\" + name);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }
    // Whether the file system refuses to write a read-only file. Wine maps
    // the attribute to Unix permissions, which do not bind the root user.
    static bool ReadOnlyEnforced()
    {
        std::ofstream("ro.probe") << "x";
        SetFileAttributesA("ro.probe", FILE_ATTRIBUTE_READONLY);
        HANDLE handle = CreateFileA("ro.probe", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const bool enforced = handle == INVALID_HANDLE_VALUE;
        if (!enforced)
            CloseHandle(handle);
        SetFileAttributesA("ro.probe", FILE_ATTRIBUTE_NORMAL);
        DeleteFileA("ro.probe");
        return enforced;
    }
    static std::string ExeDirectory()
    {
        char buffer[MAX_PATH];
        DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
        std::string path(buffer, length);
        return path.substr(0, path.rfind('\\'));
    }

private:
    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string path = dir + "\\" + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string previous;
    std::string directory;
    std::string cwd;
};
