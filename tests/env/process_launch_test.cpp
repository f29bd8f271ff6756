#include "env/process_launch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "env/registry_key.h"
#include "platform/sys/file_path.h"
#include "platform/sys/unique_fd.h"
#include "tests/sys/test_support.h"

namespace vexlo::env {
namespace {

using platform::UniqueFd;
using platform::WString;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

const WString kRecorder = platform::FsPathToWide(VEXLO_ARGV_RECORDER);

struct Pipe {
    UniqueFd read, write;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) == 0) read.Reset(fds[0]), write.Reset(fds[1]);
    }
};

std::string ReadToEnd(int fd) {
    std::string out;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<size_t>(n));
    return out;
}

// The recorder's lines of one kind.
std::vector<std::string> Lines(const std::string& record, const std::string& kind) {
    std::vector<std::string> out;
    std::istringstream in(record);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(kind + "=", 0) == 0) out.push_back(line.substr(kind.size() + 1));
    }
    return out;
}

// Runs to its end with standard output captured.
struct Finished {
    bool started;
    std::string record;
};
Finished RunCaptured(ProcessOptions options, platform::WStringView commandLine) {
    Pipe out;
    options.wait = true;
    options.standardOutput = out.write.Get();
    const bool started = RunProcess(options, commandLine);
    out.write.Reset();
    return {started, ReadToEnd(out.read.Get())};
}

WString Quoted(const WString& path) { return u"\"" + path + u"\""; }

TEST(RunProcess, PassesTheArgumentsSplitByTheWindowsRules) {
    const Finished run = RunCaptured({}, Quoted(kRecorder) + u" plain \"two words\" a\\\"q \"\" tail\\\\ \u00e4");
    ASSERT_TRUE(run.started);
    EXPECT_THAT(Lines(run.record, "arg"),
                ElementsAre(VEXLO_ARGV_RECORDER, "plain", "two words", "a\"q", "", "tail\\\\", "\xc3\xa4"));
}

TEST(RunProcess, ReportsWhatCannotStart) {
    testing::TempFolder folder;
    testing::WriteFile(folder / "not-executable", "#!/bin/sh\n");
    ::chmod((folder / "not-executable").c_str(), 0644);
    const WString lines[] = {
        u"",
        u" leading-blank-means-no-program",
        Quoted(platform::FsPathToWide(folder / "missing")),
        Quoted(platform::FsPathToWide(folder / "not-executable")),
        Quoted(platform::FsPathToWide(folder.Path())),
        u"vexlo-no-such-program-in-path",
        Quoted(kRecorder) + u" " + WString(kMaxCommandLine, u'x'),
    };
    for (const WString& line : lines) {
        EXPECT_FALSE(RunProcess({}, line)) << platform::WideToUtf8(line.substr(0, 80));
    }
}

TEST(RunProcess, WithoutWaitReturnsWhileTheProgramRuns) {
    Pipe in, out;
    ProcessOptions options;
    options.standardInput = in.read.Get();
    options.standardOutput = out.write.Get();
    // The recorder cannot finish before we close its input, so a true here came back early.
    ASSERT_TRUE(RunProcess(options, Quoted(kRecorder) + u" --wait-stdin"));
    in.read.Reset();
    out.write.Reset();
    in.write.Reset();
    const std::string record = ReadToEnd(out.read.Get());
    EXPECT_THAT(Lines(record, "arg"), Contains("--wait-stdin"));
}

TEST(RunProcess, OurDescriptorsStayOursUnlessInheritanceIsAsked) {
    UniqueFd inheritable(::open("/dev/null", O_RDONLY));  // no close-on-exec
    UniqueFd private_(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(inheritable.Valid() && private_.Valid());
    const std::string inheritableFd = std::to_string(inheritable.Get());
    const std::string privateFd = std::to_string(private_.Get());

    const Finished closed = RunCaptured({}, Quoted(kRecorder));
    ASSERT_TRUE(closed.started);
    EXPECT_THAT(Lines(closed.record, "fd"), Not(Contains(inheritableFd)));

    ProcessOptions inherit;
    inherit.inheritHandles = true;
    const Finished kept = RunCaptured(inherit, Quoted(kRecorder));
    ASSERT_TRUE(kept.started);
    EXPECT_THAT(Lines(kept.record, "fd"), Contains(inheritableFd));
    EXPECT_THAT(Lines(kept.record, "fd"), Not(Contains(privateFd)));
}

TEST(RunProcess, JobsAreProcessGroupsThatEndTogether) {
    ProcessJob job;
    Pipe firstIn, firstOut, secondIn, secondOut;
    ProcessOptions options;
    options.job = &job;
    options.standardInput = firstIn.read.Get();
    options.standardOutput = firstOut.write.Get();
    ASSERT_TRUE(RunProcess(options, Quoted(kRecorder) + u" --wait-stdin"));
    ASSERT_GT(job.GroupId(), 1);
    options.standardInput = secondIn.read.Get();
    options.standardOutput = secondOut.write.Get();
    ASSERT_TRUE(RunProcess(options, Quoted(kRecorder) + u" --wait-stdin"));
    for (Pipe* p : {&firstIn, &firstOut, &secondIn, &secondOut}) {
        if (p == &firstIn || p == &secondIn) p->read.Reset();
        else p->write.Reset();
    }
    // Both are killed while they wait, so neither writes its record.
    EXPECT_TRUE(job.Terminate());
    EXPECT_EQ(ReadToEnd(firstOut.read.Get()), "");
    EXPECT_EQ(ReadToEnd(secondOut.read.Get()), "");

    ProcessJob fresh;
    options = {};
    options.job = &fresh;
    const Finished led = RunCaptured(options, Quoted(kRecorder));
    ASSERT_TRUE(led.started);
    EXPECT_THAT(Lines(led.record, "pgid"), ElementsAre(std::to_string(fresh.GroupId())));
    EXPECT_EQ(Lines(led.record, "pgid"), Lines(led.record, "pid"));
    // Its only member has ended: the group is gone and cannot take new processes.
    EXPECT_FALSE(RunCaptured(options, Quoted(kRecorder)).started);
    EXPECT_FALSE(ProcessJob().Terminate());
}

TEST(RunProcess, BreakawayLeavesOurProcessGroup) {
    ProcessOptions options;
    const Finished same = RunCaptured(options, Quoted(kRecorder));
    EXPECT_THAT(Lines(same.record, "pgid"), ElementsAre(std::to_string(::getpgrp())));
    options.breakaway = true;
    const Finished away = RunCaptured(options, Quoted(kRecorder));
    EXPECT_EQ(Lines(away.record, "pgid"), Lines(away.record, "pid"));
}

TEST(RunProcess, AUserTokenStartsTheProgramForThatUserWithItsOwnEnvironment) {
    testing::ScopedEnv mark("VEXLO_LAUNCH_MARK", "ours");
    const UserToken nobody{65534, 65534};
    ProcessOptions options;
    options.userToken = &nobody;
    // /usr/bin/env is the program under test: it prints the environment it was given.
    const Finished run = RunCaptured(options, u"/usr/bin/env");
    if (::geteuid() != 0) {
        EXPECT_FALSE(run.started) << "switching users needs administrator rights";
        return;
    }
    ASSERT_TRUE(run.started);
    EXPECT_THAT(run.record, ::testing::HasSubstr("USER=nobody\n"));
    EXPECT_THAT(run.record, ::testing::HasSubstr("HOME=/nonexistent\n"));
    EXPECT_THAT(run.record, Not(::testing::HasSubstr("VEXLO_LAUNCH_MARK")));
    const Finished id = RunCaptured(options, u"/usr/bin/id -u");
    EXPECT_EQ(id.record, "65534\n");

    const UserToken unknown{4000000, 4000000};
    options.userToken = &unknown;
    EXPECT_FALSE(RunCaptured(options, u"/usr/bin/env").started);
}

TEST(TerminateAndWait, EndsAndReapsTheProcess) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::pause();
        ::_exit(0);
    }
    EXPECT_TRUE(TerminateAndWait(child));
    EXPECT_EQ(::waitpid(child, nullptr, WNOHANG), -1) << "already reaped";
    EXPECT_FALSE(TerminateAndWait(0));
    EXPECT_FALSE(TerminateAndWait(-1));
}

class UacTest : public ::testing::Test {
protected:
    testing::TempFolder store;
    testing::ScopedEnv env{"VEXLO_MACHINE_REGISTRY", store.Path().c_str()};
    const WString policy = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
};

TEST_F(UacTest, ReadsEnableLuaFromThe64BitView) {
    platform::MachineRegistry registry;
    EXPECT_FALSE(IsUacEnabled());  // no key
    ASSERT_TRUE(registry.CreateKey(platform::RegistryView::k64Bit, policy));
    EXPECT_FALSE(IsUacEnabled());  // no value
    struct Case {
        platform::RegistryValue value;
        bool enabled;
    };
    const Case cases[] = {
        {platform::RegistryValue::Dword(1), true},
        {platform::RegistryValue::Dword(0), false},
        {platform::RegistryValue::Dword(0x100), true},
        {{platform::kRegDword, std::string(8, '\x01')}, false},  // does not fit 4 bytes
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(registry.SetValue(platform::RegistryView::k64Bit, policy, u"EnableLUA", c.value));
        EXPECT_EQ(IsUacEnabled(), c.enabled);
    }
    // The 32-bit view's value is not the policy.
    ASSERT_TRUE(registry.DeleteValue(platform::RegistryView::k64Bit, policy, u"EnableLUA"));
    ASSERT_TRUE(registry.CreateKey(platform::RegistryView::k32Bit, policy));
    ASSERT_TRUE(registry.SetValue(platform::RegistryView::k32Bit, policy, u"EnableLUA", platform::RegistryValue::Dword(1)));
    EXPECT_FALSE(IsUacEnabled());
}

// LaunchElevated with every part replaced by a recording one.
struct FakeElevation {
    bool admin = false;
    bool uac = true;
    WString prompt = u"/usr/bin/pkexec";
    std::vector<WString> directLines;
    std::vector<std::vector<WString>> prompted;

    ElevationEnvironment Environment() {
        ElevationEnvironment e;
        e.isAdministrator = [this] { return admin; };
        e.isUacEnabled = [this] { return uac; };
        e.elevationCommand = [this] { return prompt; };
        e.runProcess = [this](const ProcessOptions& options, platform::WStringView line) {
            EXPECT_FALSE(options.wait || options.hidden || options.inheritHandles || options.job);
            directLines.emplace_back(line);
            return true;
        };
        e.startDetached = [this](const std::vector<WString>& argv) {
            prompted.push_back(argv);
            return true;
        };
        return e;
    }
};

TEST(LaunchElevated, ChoosesBetweenThePromptAndADirectStart) {
    struct Case {
        bool admin, uac, prompted;
    };
    for (const Case c : {Case{true, true, false}, Case{true, false, false}, Case{false, false, false},
                         Case{false, true, true}}) {
        FakeElevation fake;
        fake.admin = c.admin;
        fake.uac = c.uac;
        EXPECT_TRUE(LaunchElevated(u"/x/setup.exe", u"/s \"a b\"", fake.Environment()));
        if (c.prompted) {
            EXPECT_TRUE(fake.directLines.empty());
            EXPECT_THAT(fake.prompted, ElementsAre(ElementsAre(u"/usr/bin/pkexec", u"/x/setup.exe", u"/s", u"a b")));
        } else {
            EXPECT_TRUE(fake.prompted.empty());
            EXPECT_THAT(fake.directLines, ElementsAre(u"\"/x/setup.exe\" /s \"a b\""));
        }
    }
}

TEST(LaunchElevated, RefusesWhatItCannotStartFaithfully) {
    FakeElevation fake;
    fake.prompt = u"";  // no elevation prompt installed
    EXPECT_FALSE(LaunchElevated(u"/x/setup.exe", u"/s", fake.Environment()));
    EXPECT_TRUE(fake.prompted.empty());

    fake.admin = true;
    EXPECT_TRUE(LaunchElevated(u"/x/setup.exe", u"", fake.Environment()));
    EXPECT_THAT(fake.directLines, ElementsAre(u"\"/x/setup.exe\" "));

    // The line would not fit the 260-character buffer: 2 quotes + path + space + parameters.
    const WString path = u"/" + WString(250, u'p');
    EXPECT_TRUE(LaunchElevated(path, WString(259 - 3 - path.size(), u's'), fake.Environment()));
    EXPECT_FALSE(LaunchElevated(path, WString(260 - 3 - path.size(), u's'), fake.Environment()));
    // A quote in the path would hand the rest of it over as arguments.
    EXPECT_FALSE(LaunchElevated(u"/x/a\" --evil \"b", u"/s", fake.Environment()));
    EXPECT_FALSE(LaunchElevated(u"", u"/s", fake.Environment()));
    EXPECT_EQ(fake.directLines.size(), 2u);
}

TEST(LaunchElevated, MakesTheDownloadedInstallerExecutableAndStartsIt) {
    testing::TempFolder folder;
    const std::string installer = folder / "setup \xc3\xa4.bin";
    std::filesystem::copy_file(VEXLO_ARGV_RECORDER, installer);
    ::chmod(installer.c_str(), 0644);

    FakeElevation fake;
    fake.admin = true;
    ElevationEnvironment environment = fake.Environment();
    std::string record;
    environment.runProcess = [&](const ProcessOptions& options, platform::WStringView line) {
        const Finished run = RunCaptured(options, line);
        record = run.record;
        return run.started;
    };
    ASSERT_TRUE(LaunchElevated(platform::FsPathToWide(installer), u"/s", environment));
    struct stat st {};
    ASSERT_EQ(::stat(installer.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0744u);
    EXPECT_THAT(Lines(record, "arg"), ElementsAre(installer, "/s"));
}

}  // namespace
}  // namespace vexlo::env
