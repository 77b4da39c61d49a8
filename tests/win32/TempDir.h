// Test helper: a fresh directory under the prefix's temporary folder,
// removed with everything in it when the test ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TempDir {
public:
    TempDir() {
        char base[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, base);
        static unsigned s_nCounter = 0;
        for (;;) {
            m_path = std::string(base) + "zorvtest" + std::to_string(GetCurrentProcessId()) + "_" +
                     std::to_string(++s_nCounter);
            if (CreateDirectoryA(m_path.c_str(), nullptr)) break;
        }
    }
    ~TempDir() {
        for (const std::string& name : Entries()) DeleteFileA(File(name).c_str());
        RemoveDirectoryA(m_path.c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return m_path + "\\" + name; }
    const std::string& Path() const { return m_path; }

    // Names of the files now in the directory.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((m_path + "\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return names;
    }

private:
    std::string m_path;
};
