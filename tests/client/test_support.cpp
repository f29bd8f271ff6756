#include "tests/client/test_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/update-service/reply_plan.h"

namespace vexlo::client::testing {
namespace {
std::string gDataHome;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vexlo-client-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::vector<std::string> ListFolder(const std::string& path) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    return names;
}

std::string GeneratedBytes(size_t size) {
    std::string bytes(size, '\0');
    service::FillGenerated(0, bytes.data(), size);
    return bytes;
}

void IsolatedEnvironment::SetUp() {
    root_ = std::make_unique<TempDir>();
    const std::string registry = root_->File("registry");
    gDataHome = root_->File("data");
    std::filesystem::create_directories(registry);
    std::filesystem::create_directories(gDataHome);
    ::setenv("VEXLO_MACHINE_REGISTRY", registry.c_str(), 1);
    ::setenv("XDG_DATA_HOME", gDataHome.c_str(), 1);
}

void IsolatedEnvironment::TearDown() { root_.reset(); }

const std::string& IsolatedEnvironment::DataHome() { return gDataHome; }

}  // namespace vexlo::client::testing
