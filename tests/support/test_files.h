// Files and folders made by tests.
#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, with a trailing backslash.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }
    // Writes the file name in the folder (a failure fails the test); its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

// Writes bytes to path, replacing the file. False when it cannot.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// The whole file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::string& path);

bool FileExists(const std::string& path);

// path (ANSI, in the system's code page) as the wide text the openers take.
std::wstring Wide(const std::string& path);

// The folder of the running executable, with a trailing backslash.
std::string ExecutableFolder();

void RemoveTree(const std::string& folder);
