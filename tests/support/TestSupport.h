#pragma once
// Helpers shared by the tests: fixture paths and scratch folders.
#include <string>

namespace testsupport {

// Absolute path of a file under tests/fixtures.
std::string FixturePath(const std::string& name);

// Absolute path of a file under data/ (the program folder's shipped data).
std::string DataPath(const std::string& name);

// Reads and writes whole files byte for byte.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// A fresh folder under the system temp folder, removed with everything in
// it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

} // namespace testsupport
