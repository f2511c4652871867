#include "TestPackages.h"

#include <sim/driver/DemoPlayer.h>
#include <sim/driver/ProcessSupervisor.h>
#include <sim/driver/ScenarioParser.h>
#include <sim/driver/ScenarioRunner.h>
#include <sim/driver/Session.h>
#include <sim/driver/Shell.h>
#include <sim/protocol/CommandTable.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

using namespace sim::driver;
namespace fs = std::filesystem;

namespace {

bool haveBroker() { return std::string(NOTIFYD_PATH).size() > 0; }

// The device's processes, with fake hosts standing in for SpringBoard and Settings.
void useFakeHosts(SessionOptions& options)
{
    options.processes.clear();
    if (haveBroker())
        options.processes.push_back({ "notifyd", ProcessRole::Kind::Broker, NOTIFYD_PATH, {} });
    options.processes.push_back({ "springboard", ProcessRole::Kind::Host, FAKE_HOST_PATH, { "springboard", SIM_APP_PATH } });
    options.processes.push_back({ "settings-app", ProcessRole::Kind::Host, FAKE_HOST_PATH, { "settings-app", SIM_APP_PATH } });
    options.settleTimeout = std::chrono::milliseconds(10000);
}

class DriverSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("session-" + std::to_string(::getpid()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_layout.binFolder = fs::path(TORVANE_SIM_PATH).parent_path();
        m_layout.libFolder = m_folder / "lib";
        m_layout.resourcesFolder = m_folder / "resources";
    }
    void TearDown() override { fs::remove_all(m_folder); }

    SessionOptions options()
    {
        SessionOptions options;
        options.layout = m_layout;
        options.outFolder = m_folder / "out";
        options.sourceFolder = m_folder;
        useFakeHosts(options);
        return options;
    }

    // A line for the fake hosts' own requests, which the scenario language does not know.
    static ScenarioLine direct(CommandKind kind, const std::string& text)
    {
        ScenarioLine line;
        line.command = sim::protocol::Command::parse(text);
        line.kind = kind;
        line.text = text;
        return line;
    }
    static ScenarioLine scenario(const std::string& text, bool booted = true)
    {
        ScenarioParser parser("test");
        parser.setBooted(booted && text != "boot");
        return *parser.parseLine(text, 1);
    }
    static void expectOk(Session& session, const ScenarioLine& line)
    {
        Answer answer = session.execute(line);
        EXPECT_TRUE(answer.isOk()) << line.text << ": " << answer.text();
    }
    static Json hostDump(Session& session, const std::string& target) { return session.dump(target); }

    fs::path m_folder;
    BuildLayout m_layout;
};

bool processExists(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// An orphan the run killed dies a moment later and is reaped by whoever adopted it (this process,
// the subreaper, when it was ours): until then it still shows as a process, dead or dying. Waits a
// bounded while for it to be gone, reaping it when it is our child.
bool processEnds(pid_t pid)
{
    for (int attempt = 0; attempt < 2000; ++attempt) {
        int status = 0;
        ::waitpid(pid, &status, WNOHANG);
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string field, name, state;
        if (!(stat >> field >> name >> state) || state == "Z" || state == "X")
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return !processExists(pid);
}

}

// A package whose script asks for SpringBoard's restart, installed after boot: SpringBoard and
// Settings are new processes that answer; the broker and everything else go on.
TEST_F(DriverSession, PackageScriptsRestartSpringBoardAfterBoot)
{
    if (!haveBroker())
        GTEST_SKIP() << "notifyd is not built";
    TestPackage addon { .name = "com.example.addon", .files = { { "/Library/MobileSubstrate/DynamicLibraries/Addon.dylib", "elf" } },
        .postinst = "[ \"$1\" = configure ] && killall SpringBoard || true" };
    addon.build(m_folder, "addon.deb");
    TestPackage quiet { .name = "com.example.quiet", .files = { { "/var/quiet.txt", "x" } } };
    quiet.build(m_folder, "quiet.deb");
    auto sessionOptions = options();
    sessionOptions.layout.deviceToolsFolder = fs::path(SOURCE_DIR) / "sim/driver/device-bin";
    Session session(sessionOptions);
    expectOk(session, scenario("boot"));
    auto before = session.processes().startedPids();
    ASSERT_EQ(before.size(), 3u);

    expectOk(session, scenario("package install quiet.deb"));
    EXPECT_EQ(session.processes().startedPids(), before) << "nothing asked for a restart";

    expectOk(session, scenario("package install addon.deb"));
    auto after = session.processes().startedPids();
    ASSERT_EQ(after.size(), 5u);
    EXPECT_TRUE(processEnds(before[1])) << "the old SpringBoard is gone";
    EXPECT_TRUE(processEnds(before[2])) << "the old Settings is gone";
    EXPECT_TRUE(processExists(before[0])) << "the broker goes on";
    EXPECT_TRUE(session.processes().isRunning("springboard"));
    expectOk(session, direct(CommandKind::SpringBoard, "poke 3"));
    EXPECT_EQ(hostDump(session, "springboard")["effects"], 3) << "a fresh SpringBoard answers";
    expectOk(session, scenario("wait 0.5"));
    expectOk(session, scenario("expect package com.example.addon installed 1.0"));
    Answer wrongVersion = session.execute(scenario("expect package com.example.addon installed 2.0"));
    EXPECT_EQ(wrongVersion.status, Answer::Status::ExpectFailed);
    Answer refused = session.execute(scenario("package install addon.deb refused"));
    EXPECT_EQ(refused.status, Answer::Status::ExpectFailed) << "dpkg took it, so it was not refused";
}

// A command's effect that takes many run-loop turns is complete before the next command runs.
TEST_F(DriverSession, EveryCommandWaitsUntilItsEffectsAreDone)
{
    Session session(options());
    expectOk(session, scenario("boot"));
    for (int i = 0; i < 5; ++i) {
        expectOk(session, direct(CommandKind::SpringBoard, "poke 40"));
        EXPECT_EQ(hostDump(session, "springboard")["effects"], 40 * (i + 1));
    }
}

TEST_F(DriverSession, WaitMovesEveryClockThroughEachTimer)
{
    Session session(options());
    expectOk(session, scenario("boot"));
    expectOk(session, direct(CommandKind::SpringBoard, "timer 0.35"));
    expectOk(session, direct(CommandKind::Settings, "timer 0.25"));
    expectOk(session, scenario("wait 0.3"));
    EXPECT_EQ(hostDump(session, "springboard")["fired"], 0);
    EXPECT_EQ(hostDump(session, "settings")["fired"], 1);
    expectOk(session, scenario("wait 0.1"));
    auto springboard = hostDump(session, "springboard");
    EXPECT_EQ(springboard["fired"], 1);
    EXPECT_NEAR(springboard["now"].get<double>(), 0.4, 1e-9);
    EXPECT_NEAR(hostDump(session, "settings")["now"].get<double>(), 0.4, 1e-9);
    expectOk(session, scenario("wait 0"));
    EXPECT_NEAR(hostDump(session, "settings")["now"].get<double>(), 0.4, 1e-9);
}

// A notification posted by one process is handled by the other before the command ends.
TEST_F(DriverSession, NotificationsAcrossProcessesAreWaitedFor)
{
    if (!haveBroker())
        GTEST_SKIP() << "notifyd is not built";
    Session session(options());
    expectOk(session, scenario("boot"));
    for (int i = 1; i <= 3; ++i) {
        expectOk(session, direct(CommandKind::SpringBoard, "post com.torvane.test.ping"));
        EXPECT_EQ(hostDump(session, "settings")["received"], i);
        EXPECT_EQ(hostDump(session, "springboard")["received"], i);
    }
}

// wait until moves the clock a frame at a time and stops at the first frame the condition holds.
TEST_F(DriverSession, WaitUntilStopsAtTheFrameTheConditionHolds)
{
    Session session(options());
    expectOk(session, scenario("boot"));
    expectOk(session, direct(CommandKind::SpringBoard, "timer 0.35"));
    Answer held = session.execute(scenario("wait until springboard /fired == 1"));
    EXPECT_TRUE(held.isOk()) << held.text();
    double now = hostDump(session, "springboard")["now"].get<double>();
    EXPECT_GE(now, 0.35 - 1e-6);
    EXPECT_LT(now, 0.35 + 1.0 / 60) << "one frame past the timer at most";
    EXPECT_NEAR(hostDump(session, "settings")["now"].get<double>(), now, 1e-9) << "every clock moves together";

    // A condition that holds already costs no time.
    expectOk(session, scenario("wait until springboard /fired >= 1"));
    EXPECT_NEAR(hostDump(session, "springboard")["now"].get<double>(), now, 1e-9);

    // One that never holds fails after max seconds, naming the last value seen, and the file goes on.
    Answer failed = session.execute(scenario("wait until springboard /fired == 2 max 0.5"));
    EXPECT_EQ(failed.status, Answer::Status::ExpectFailed);
    EXPECT_EQ(failed.message, "still not so after 0.5 s: springboard /fired: expected == 2, actual 1");
    EXPECT_NEAR(hostDump(session, "springboard")["now"].get<double>(), now + 0.5, 1e-6);

    expectOk(session, direct(CommandKind::SpringBoard, "say \"Torvane 1.2.1 Loaded into SpringBoard\""));
    expectOk(session, scenario("wait until log contains \"Loaded into\" max 0"));
    EXPECT_EQ(session.execute(scenario("wait until log contains \"Loaded in Settings\" max 0.1")).status, Answer::Status::ExpectFailed);
}

TEST_F(DriverSession, NoProcessOutlivesTheSession)
{
    std::vector<pid_t> pids;
    {
        Session session(options());
        expectOk(session, scenario("boot"));
        expectOk(session, scenario("launch com.apple.mobilesafari mb 4"));
        expectOk(session, scenario("launch com.apple.Maps"));
        auto apps = hostDump(session, "springboard")["apps"];
        ASSERT_EQ(apps.size(), 2u);
        for (const auto& [bundleIdentifier, pid] : apps.items())
            pids.push_back(pid.get<pid_t>());
        for (pid_t pid : session.processes().startedPids())
            pids.push_back(pid);
        for (pid_t pid : pids)
            EXPECT_TRUE(processExists(pid)) << pid;
    }
    for (pid_t pid : pids)
        EXPECT_FALSE(processExists(pid)) << "process " << pid << " outlived its session";
}

// An application is a process group of its own; when its host is killed it is handed to the
// driver, which must still end and reap it.
TEST_F(DriverSession, OrphanInAGroupOfItsOwnIsEndedWithTheRun)
{
    auto pidFile = m_folder / "application.pid";
    pid_t application = 0;
    {
        ProcessSupervisor supervisor({});
        ProcessSupervisor::Program host { "host", "/bin/bash", { "-c", "set -m; sleep 300 & echo $! >" + pidFile.string() + "; exec sleep 300" }, m_folder / "host.stderr" };
        pid_t hostPid = supervisor.start(host);
        std::ifstream in;
        for (int attempt = 0; attempt < 5000 && !(in >> application); ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            in = std::ifstream(pidFile);
        }
        ASSERT_GT(application, 0) << "the host never started its application";
        ASSERT_EQ(::getpgid(application), application);
        ::kill(hostPid, SIGKILL);
        supervisor.stopAll();
    }
    bool gone = processEnds(application);
    if (!gone)
        ::kill(application, SIGKILL);
    EXPECT_TRUE(gone) << "the orphaned application " << application << " outlived the run";
}

TEST_F(DriverSession, AHostThatDiesIsReportedNotWaitedForever)
{
    Session session(options());
    expectOk(session, scenario("boot"));
    pid_t springboard = session.processes().startedPids()[haveBroker() ? 1 : 0];
    ::kill(springboard, SIGKILL);
    Answer answer = session.execute(scenario("launch com.apple.mobilesafari"));
    EXPECT_EQ(answer.status, Answer::Status::Error);
    EXPECT_NE(answer.message.find("springboard"), std::string::npos) << answer.message;
}

TEST_F(DriverSession, BootNamesAProcessThatFailsToStartWithItsOutput)
{
    ::setenv("FAKE_HOST_FAIL", "cannot load the substrate", 1);
    Session session(options());
    Answer answer = session.execute(scenario("boot"));
    ::unsetenv("FAKE_HOST_FAIL");
    ASSERT_EQ(answer.status, Answer::Status::Error);
    EXPECT_NE(answer.message.find("springboard exited with status 3"), std::string::npos) << answer.message;
    EXPECT_NE(answer.message.find("cannot load the substrate"), std::string::npos) << answer.message;
    for (pid_t pid : session.processes().startedPids())
        EXPECT_FALSE(processExists(pid));
    // The device can be booted again once the cause is gone.
    expectOk(session, scenario("boot"));
}

TEST_F(DriverSession, BootNamesEveryExecutableThatIsNotBuilt)
{
    auto opts = options();
    opts.processes = ProcessRole::standard(BuildLayout { m_folder / "bin", m_folder / "lib", m_folder / "resources" });
    Session session(opts);
    Answer answer = session.execute(scenario("boot"));
    ASSERT_EQ(answer.status, Answer::Status::Error);
    EXPECT_NE(answer.message.find("not built: notifyd, springboard, settings-app"), std::string::npos) << answer.message;
}

TEST_F(DriverSession, ObservationsOfFilesScreenshotsAndLogs)
{
    Session session(options());
    expectOk(session, scenario("prefs ConfirmationAlertAtHome false", false));
    EXPECT_TRUE(session.execute(scenario("expect prefs /ConfirmationAlertAtHome == false", false)).isOk());
    EXPECT_TRUE(session.execute(scenario("expect companion \"\" == null", false)).isOk());
    expectOk(session, scenario("boot"));

    expectOk(session, scenario("screenshot springboard shots/home.png"));
    EXPECT_TRUE(fs::is_regular_file(m_folder / "out/shots/home.png"));
    expectOk(session, scenario("dump springboard sb.json"));
    std::ifstream dumped(m_folder / "out/sb.json");
    EXPECT_EQ(Json::parse(dumped)["name"], "springboard");

    expectOk(session, direct(CommandKind::SpringBoard, "say \"Torvane 1.2.1 Loaded into SpringBoard\""));
    EXPECT_TRUE(session.execute(scenario("expect log contains \"Loaded into SpringBoard\"")).isOk());
    Answer missing = session.execute(scenario("expect log contains \"Loaded in Settings\""));
    EXPECT_EQ(missing.status, Answer::Status::ExpectFailed);
    EXPECT_EQ(session.execute(scenario("expect log !contains \"Loaded into\"")).status, Answer::Status::ExpectFailed);

    Answer failed = session.execute(scenario("expect springboard /effects == 3"));
    EXPECT_EQ(failed.status, Answer::Status::ExpectFailed);
    EXPECT_EQ(failed.message, "springboard /effects: expected == 3, actual 0");
}

TEST_F(DriverSession, RunnerExitCodes)
{
    auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream(m_folder / name) << text;
        return m_folder / name;
    };
    auto good = write("good.scn", "prefs OpacityValue \"0.5\"\nboot\nlaunch com.apple.mobilesafari mb 2\n"
                                  "expect springboard /apps/com.apple.mobilesafari > 0\nwait 1\nexpect prefs /OpacityValue == \"0.5\"\n");
    auto failing = write("failing.scn", "boot\nexpect springboard /effects == 1\nexpect springboard /fired != 0\nexpect springboard /name == \"springboard\"\n");
    auto stopping = write("stopping.scn", "boot\nfile put /var/x.txt does-not-exist.txt\nexpect springboard /effects == 99\n");
    auto malformed = write("malformed.scn", "boot\nlaunch\n");

    ScenarioRunner::Options runnerOptions;
    runnerOptions.layout = m_layout;
    runnerOptions.outFolder = m_folder / "out";
    runnerOptions.adjust = useFakeHosts;
    auto run = [&](std::vector<fs::path> files, std::string& err) {
        std::ostringstream out, errors;
        int code = ScenarioRunner(runnerOptions, out, errors).run(files);
        err = errors.str();
        return code;
    };
    std::string err;
    EXPECT_EQ(run({ good }, err), 0) << err;
    EXPECT_EQ(run({ good, failing }, err), 1);
    EXPECT_NE(err.find("failing.scn:2: expect springboard /effects == 1\n    springboard /effects: expected == 1, actual 0"), std::string::npos) << err;
    EXPECT_NE(err.find("failing.scn:3:"), std::string::npos) << "every failed expect of a file is reported: " << err;
    EXPECT_EQ(err.find("failing.scn:4:"), std::string::npos) << err;
    EXPECT_EQ(run({ stopping }, err), 1);
    EXPECT_NE(err.find("stopping.scn:2:"), std::string::npos) << err;
    EXPECT_EQ(err.find("stopping.scn:3:"), std::string::npos) << "a failed command ends its file: " << err;
    EXPECT_EQ(run({ good, malformed }, err), 2);
    EXPECT_NE(err.find("malformed.scn:2: usage: launch BID [mb M]"), std::string::npos) << err;

    // A folder stands for its .scn files, all read before any plays; one without any is refused.
    EXPECT_EQ(run({ m_folder }, err), 2);
    EXPECT_NE(err.find("malformed.scn:2: usage: launch BID [mb M]"), std::string::npos) << err;
    fs::create_directories(m_folder / "empty");
    EXPECT_EQ(run({ m_folder / "empty" }, err), 2);
    EXPECT_NE(err.find("no .scn file in the folder"), std::string::npos) << err;
    // Anything else readable is a scenario (/dev/null is empty).
    EXPECT_EQ(run({ "/dev/null" }, err), 0) << err;
    EXPECT_NE(run({ m_folder / "missing.scn" }, err), 0);
    EXPECT_NE(err.find("no such scenario file"), std::string::npos) << err;

    runnerOptions.keepFolder = m_folder / "kept";
    EXPECT_EQ(run({ good }, err), 0) << err;
    EXPECT_TRUE(fs::is_regular_file(m_folder / "kept/var/mobile/Library/Preferences/com.qelvo.torvane.plist"));

    // TORVANE_COMMAND_TIMES collects every command's time, "FILE:LINE<TAB>SECONDS<TAB>COMMAND".
    auto times = m_folder / "times.tsv";
    ::setenv("TORVANE_COMMAND_TIMES", times.c_str(), 1);
    runnerOptions.keepFolder.reset();
    int status = run({ good }, err);
    ::unsetenv("TORVANE_COMMAND_TIMES");
    EXPECT_EQ(status, 0) << err;
    std::ifstream timesFile(times);
    std::vector<std::string> commands;
    for (std::string line; std::getline(timesFile, line);) {
        auto first = line.find('\t');
        auto second = line.find('\t', first + 1);
        ASSERT_NE(second, std::string::npos) << line;
        EXPECT_EQ(line.substr(0, first), (m_folder / "good.scn").string() + ":" + std::to_string(commands.size() + 1)) << line;
        EXPECT_GE(std::stod(line.substr(first + 1, second - first - 1)), 0) << line;
        commands.push_back(line.substr(second + 1));
    }
    EXPECT_EQ(commands, (std::vector<std::string> { "prefs OpacityValue \"0.5\"", "boot", "launch com.apple.mobilesafari mb 2",
        "expect springboard /apps/com.apple.mobilesafari > 0", "wait 1", "expect prefs /OpacityValue == \"0.5\"" }));
}

TEST_F(DriverSession, ShellAnswersEachLine)
{
    std::istringstream in("prefs A true\ndump prefs\nlaunch x\nboot\nbogus\nexpect prefs /A == false\nexit\nboot\n");
    std::ostringstream out, err;
    Shell::Options shellOptions;
    shellOptions.layout = m_layout;
    shellOptions.deviceFolder = m_folder / "device";
    shellOptions.adjust = useFakeHosts;
    EXPECT_EQ(Shell(shellOptions, in, out, err).run(), 1);
    EXPECT_EQ(out.str(), "ok\n{\n  \"A\": true\n}\n"
                         "error: 'launch' needs a booted device (add a boot line before it)\n"
                         "ok\n"
                         "error: unknown command 'bogus'\n"
                         "FAILED: prefs /A: expected == false, actual true\n");
    EXPECT_TRUE(fs::exists(m_folder / "device/var/mobile/Library/Preferences/com.qelvo.torvane.plist")) << "--device keeps the device";
    EXPECT_NE(err.str().find("has no SelectedTheme and AlertToClearBadge"), std::string::npos)
        << "boot warns that the add-on will discard a preferences file without them: " << err.str();
}

// help is printed from the command table, so it lists every command a scenario can use, and the
// scenario language's page describes each of them.
TEST_F(DriverSession, HelpAndTheLanguagePageListEveryCommandOfTheTable)
{
    std::istringstream in("help\n");
    std::ostringstream out, err;
    Shell::Options shellOptions;
    shellOptions.layout = m_layout;
    shellOptions.adjust = useFakeHosts;
    EXPECT_EQ(Shell(shellOptions, in, out, err).run(), 0) << err.str();

    std::ifstream page(fs::path(SOURCE_DIR) / "sim/SCENARIOS.md");
    std::string language((std::istreambuf_iterator<char>(page)), {});
    ASSERT_FALSE(language.empty());
    for (const auto& row : sim::protocol::CommandTable::scenario()) {
        std::string usage(row.usage);
        EXPECT_NE(out.str().find(usage), std::string::npos) << "help lacks " << usage;
        // The page writes each form in a table cell, with | escaped.
        std::string form = std::string(row.name) + (row.subcommand.empty() ? "" : " " + std::string(row.subcommand));
        EXPECT_NE(language.find("| `" + form), std::string::npos) << "SCENARIOS.md does not describe " << form;
    }
}

TEST_F(DriverSession, DemoWritesTranscriptAndScreenshots)
{
    DemoPlayer::Options demoOptions;
    demoOptions.layout = m_layout;
    demoOptions.outFolder = m_folder / "demo";
    demoOptions.adjust = useFakeHosts;
    std::ostringstream out, err;
    int code = DemoPlayer(demoOptions, out, err).play("boot\nscreenshot springboard 01-home.png\nlaunch com.a\nfly away\n");
    EXPECT_EQ(code, 2) << "a malformed tour is refused before it boots";
    code = DemoPlayer(demoOptions, out, err).play("boot\nscreenshot springboard 01-home.png\nlaunch com.a\nexpect springboard /effects == 1\ndump springboard 02.json\n");
    EXPECT_EQ(code, 1) << err.str();
    EXPECT_TRUE(fs::is_regular_file(m_folder / "demo/01-home.png"));
    EXPECT_TRUE(fs::is_regular_file(m_folder / "demo/02.json")) << "the tour goes on after a failed step";
    std::ifstream transcript(m_folder / "demo/transcript.txt");
    std::string text((std::istreambuf_iterator<char>(transcript)), {});
    EXPECT_NE(text.find("> launch com.a\n{\n  \"pid\": "), std::string::npos) << text;
    EXPECT_NE(text.find("> expect springboard /effects == 1\nFAILED: "), std::string::npos) << text;
}
