// The update service as a program: the line it prints, the offer it answers from, the
// record it keeps, and its clean end on SIGTERM.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "client/client_api.h"
#include "tests/client/test_support.h"

extern char** environ;

namespace vexlo::client {
namespace {

class ServiceProgram {
public:
    explicit ServiceProgram(std::vector<std::string> arguments) {
        const char* buildDir = std::getenv("VEXLO_BUILD_DIR");
        const std::string program =
            std::string(buildDir != nullptr ? buildDir : "build") + "/tools/update-service/vexlo-update-service";
        arguments.insert(arguments.begin(), program);
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        output_ = out[0];
    }
    ~ServiceProgram() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) ::close(output_);
    }

    // The first line of standard output (or "" when none comes within the time).
    std::string FirstLine() {
        std::string line;
        pollfd ready{output_, POLLIN, 0};
        while (line.find('\n') == std::string::npos && ::poll(&ready, 1, 20000) == 1) {
            char c[256];
            const ssize_t got = ::read(output_, c, sizeof c);
            if (got <= 0) break;
            line.append(c, static_cast<size_t>(got));
        }
        return line;
    }

    // The exit status after SIGTERM (or without it when the program ends by itself).
    int Finish(bool terminate) {
        if (terminate) ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        waited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    bool Started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    bool waited_ = false;
};

TEST(ServiceProgram, AnswersFromItsOfferRecordsAndEndsCleanly) {
    testing::TempDir dir;
    testing::WriteWholeFile(dir.File("offer.json"),
                            R"({"version_number":"2.1.13.0","update_type":"1","file_32":"{base}/files/setup.exe"})");
    testing::WriteWholeFile(dir.File("setup.exe"), "installer bytes");
    ServiceProgram program({"--listen", "127.0.0.1:0", "--offer", dir.File("offer.json"), "--files",
                            dir.Path(), "--record", dir.File("record.jsonl")});
    ASSERT_TRUE(program.Started());
    const std::string line = program.FirstLine();
    ASSERT_EQ(line.rfind("listening on http://127.0.0.1:", 0), 0u) << line;
    const std::string base = line.substr(std::string("listening on ").size(), line.size() - 14);

    auto& client = ClientAPI::GetInstance();
    std::string reply;
    ASSERT_EQ(client.Post(base + "/api/check_update.php?x=1", "", reply), 0);
    EXPECT_EQ(reply, R"({"file_32":")" + base + R"(/files/setup.exe","update_type":"1","version_number":"2.1.13.0"})");
    ASSERT_EQ(client.Download(platform::Utf8ToWide(base + "/files/setup.exe"), platform::Utf8ToWide(dir.File("got.exe"))), 0);
    EXPECT_EQ(testing::ReadWholeFile(dir.File("got.exe")), "installer bytes");

    EXPECT_EQ(program.Finish(true), 0);
    const std::string record = testing::ReadWholeFile(dir.File("record.jsonl"));
    EXPECT_NE(record.find(R"("target":"/api/check_update.php?x=1")"), std::string::npos) << record;
    EXPECT_NE(record.find(R"("User-Agent: Vexlo PC Client/1.0")"), std::string::npos) << record;
    EXPECT_NE(record.find(R"("target":"/files/setup.exe")"), std::string::npos) << record;
}

TEST(ServiceProgram, RefusesABadOffer) {
    testing::TempDir dir;
    testing::WriteWholeFile(dir.File("offer.json"), R"({"check": {"framing": "sideways"}})");
    ServiceProgram program({"--offer", dir.File("offer.json")});
    ASSERT_TRUE(program.Started());
    EXPECT_EQ(program.Finish(false), 1);
}

}  // namespace
}  // namespace vexlo::client
