#include <sim/protocol/ControlClient.h>
#include <sim/protocol/ControlError.h>
#include <hosts/common/ControlServer.h>
#include <support/UnixSocket.h>

#include <foundation/RunLoop.h>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace sim::protocol;
using namespace hosts;
using foundation::RunLoop;
using foundation::Seconds;
namespace fs = std::filesystem;

namespace {

class ControlChannel : public ::testing::Test {
protected:
    void SetUp() override
    {
        RunLoop::main().setClock(foundation::VirtualClock::create());
        RunLoop::main().discardPendingWork();
        m_folder = fs::temp_directory_path() / ("control-" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
    }
    void TearDown() override
    {
        RunLoop::main().discardPendingWork();
        fs::remove_all(m_folder);
    }
    Json answer(ControlServer& server, std::string_view line) { return Json::parse(server.respond(line)); }

    fs::path m_folder;
};

}

TEST_F(ControlChannel, BuiltinRequests)
{
    auto server = ControlServer::create("springboard", (m_folder / "sb.ctl").string());
    EXPECT_EQ(answer(*server, "ping"), Json({ { "ok", true }, { "process", "springboard" }, { "pid", ::getpid() } }));

    int fired = 0;
    RunLoop::main().dispatchAfter(Seconds(0.35), [&] { ++fired; });
    auto idle = answer(*server, "idle");
    EXPECT_EQ(idle["idle"], true);
    EXPECT_DOUBLE_EQ(idle["next"].get<double>(), 0.35);

    EXPECT_EQ(answer(*server, "advance 0.3")["now"], 0.3);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(answer(*server, "advance 0.1")["ok"], true);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(answer(*server, "idle")["next"].is_null());

    RunLoop::main().dispatch([] {});
    EXPECT_EQ(answer(*server, "idle")["idle"], false);

    EXPECT_EQ(answer(*server, "advance -1")["ok"], false);
    EXPECT_EQ(answer(*server, "advance soon")["ok"], false);
    EXPECT_EQ(answer(*server, "advance")["ok"], false);
}

TEST_F(ControlChannel, IdleConditionsAreAsked)
{
    auto server = ControlServer::create("springboard", (m_folder / "sb.ctl").string());
    bool starting = true;
    server->addIdleCondition([&] { return !starting; });
    EXPECT_EQ(answer(*server, "idle")["idle"], false);
    starting = false;
    EXPECT_EQ(answer(*server, "idle")["idle"], true);
}

TEST_F(ControlChannel, HandlersAnswerOrRefuse)
{
    auto server = ControlServer::create("springboard", (m_folder / "sb.ctl").string());
    server->on("fields", [](const Command& command) -> Json { return { { "first", command.argument(0) } }; });
    server->on("nothing", [](const Command&) -> Json { return nullptr; });
    server->on("list", [](const Command&) -> Json { return Json::array({ 1, 2 }); });
    server->on("refuse", [](const Command&) -> Json { throw ControlError("no such icon"); });
    server->on("crash", [](const Command&) -> Json { throw std::out_of_range("index"); });

    EXPECT_EQ(answer(*server, R"(fields "two words")"), Json({ { "ok", true }, { "first", "two words" } }));
    EXPECT_EQ(answer(*server, "nothing"), Json({ { "ok", true } }));
    EXPECT_EQ(answer(*server, "list"), Json({ { "ok", true }, { "result", { 1, 2 } } }));
    EXPECT_EQ(answer(*server, "refuse"), Json({ { "ok", false }, { "error", "no such icon" } }));
    EXPECT_EQ(answer(*server, "crash")["error"], "internal error: index");
    EXPECT_EQ(answer(*server, "teleport"), Json({ { "ok", false }, { "error", "unknown request 'teleport'" } }));
    EXPECT_EQ(answer(*server, "fields \"open")["ok"], false);
    EXPECT_EQ(answer(*server, "")["ok"], false);
    // Every answer is one line, whatever the text holds.
    server->on("text", [](const Command&) -> Json { return { { "text", "line\nbreak \xff" } }; });
    EXPECT_EQ(server->respond("text").find('\n'), std::string::npos);
}

// A real connection, at a path longer than a socket address can hold, served by the run loop while
// a client thread asks.
TEST_F(ControlChannel, ServesRequestsOverTheSocketAtLongPaths)
{
    auto folder = m_folder / std::string(120, 'd');
    fs::create_directories(folder);
    auto path = (folder / "springboard.ctl").string();
    ASSERT_GT(path.size(), 108u);

    auto server = ControlServer::create("springboard", path);
    server->on("echo", [](const Command& command) -> Json { return { { "said", command.argument(0) } }; });
    int ticks = 0;
    server->on("later", [&](const Command&) -> Json {
        RunLoop::main().dispatch([&] { ++ticks; });
        return nullptr;
    });

    std::atomic<bool> done { false };
    std::vector<Json> answers;
    std::string failure;
    std::thread client([&] {
        try {
            auto connection = ControlClient::connect(path, "springboard");
            answers.push_back(connection->request("echo \"hello there\""));
            answers.push_back(connection->request("later"));
            answers.push_back(connection->request("advance 1"));
            answers.push_back(connection->request("nonsense"));
            // A second client at the same time.
            auto other = ControlClient::connect(path);
            answers.push_back(other->call("ping"));
            try {
                connection->call("nonsense");
            } catch (const ControlError& error) {
                answers.push_back(std::string(error.what()));
            }
        } catch (const std::exception& error) {
            failure = error.what();
        }
        done = true;
    });
    for (int turn = 0; turn < 100000 && !done; ++turn)
        RunLoop::main().runOnce(Seconds(0.01));
    client.join();
    ASSERT_EQ(failure, "");
    ASSERT_EQ(answers.size(), 6u);
    EXPECT_EQ(answers[0]["said"], "hello there");
    EXPECT_EQ(answers[1]["ok"], true);
    EXPECT_EQ(answers[2]["now"], 1.0);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(answers[3]["error"], "unknown request 'nonsense'");
    EXPECT_EQ(answers[4]["process"], "springboard");
    EXPECT_EQ(answers[5], "springboard: unknown request 'nonsense'");

    server.reset();
    EXPECT_FALSE(fs::exists(path)) << "the socket file goes with the server";
}

TEST_F(ControlChannel, ClientReportsMissingAndSilentPeers)
{
    EXPECT_THROW(ControlClient::connect((m_folder / "nobody.ctl").string(), "springboard"), ControlError);
    EXPECT_EQ(ControlClient::tryConnect((m_folder / "nobody.ctl").string()), nullptr);

    // Listening but never answering (nobody runs the loop): the client gives up after its timeout.
    int fd = support::UnixSocket::listen((m_folder / "mute.ctl").string());
    ASSERT_GE(fd, 0);
    auto client = ControlClient::connect((m_folder / "mute.ctl").string(), "mute");
    EXPECT_THROW(client->request("ping", std::chrono::milliseconds(50)), ControlError);
    ::close(fd);
    EXPECT_THROW(client->request("ping"), ControlError);
}

TEST_F(ControlChannel, StaleSocketFileIsReplaced)
{
    auto path = (m_folder / "stale.ctl").string();
    int first = support::UnixSocket::listen(path);
    ASSERT_GE(first, 0);
    ::close(first); // the file stays, as after a crash
    ASSERT_TRUE(fs::exists(path));
    auto server = ControlServer::create("springboard", path);
    EXPECT_EQ(server->socketPath(), path);
}

TEST_F(ControlChannel, ALiveListenersSocketIsNeverTakenOver)
{
    auto path = (m_folder / "live.ctl").string();
    auto first = ControlServer::create("springboard", path);
    EXPECT_THROW(ControlServer::create("springboard", path), ControlError);
    // The first server still owns the path and answers on it.
    std::atomic<bool> answered { false };
    std::thread asker([&] {
        auto client = ControlClient::connect(path, "springboard");
        answered = client->call("ping")["process"] == "springboard";
    });
    while (!answered)
        RunLoop::main().runOnce(Seconds(0.01));
    asker.join();
    EXPECT_TRUE(answered);

    // Something that is not a socket is never removed either.
    auto plain = (m_folder / "notes.txt").string();
    std::ofstream(plain) << "keep me";
    EXPECT_THROW(ControlServer::create("springboard", plain), ControlError);
    EXPECT_TRUE(fs::is_regular_file(plain));
}
