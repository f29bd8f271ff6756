#pragma once
// Shared pieces of the client tests: temporary folders, small file helpers, and a process
// environment whose registry store and per-user folders live in a temporary folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vexlo::client::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
std::vector<std::string> ListFolder(const std::string& path);
std::string GeneratedBytes(size_t size);

// Points the machine registry and XDG_DATA_HOME at a folder of its own for the whole test
// program (registered as a GoogleTest environment by each test executable).
class IsolatedEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
    static const std::string& DataHome();

private:
    std::unique_ptr<TempDir> root_;
};

}  // namespace vexlo::client::testing
