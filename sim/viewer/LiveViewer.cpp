#include "LiveViewer.h"

#include "EventHub.h"
#include "JobQueue.h"
#include "LogFollower.h"
#include "PageFiles.h"
#include "Recorder.h"
#include "ViewerRequests.h"

#include <sim/driver/EmergencyStop.h>
#include <sim/driver/PropertyListJson.h>
#include <sim/driver/ScenarioParser.h>
#include <sim/driver/Session.h>
#include <sim/protocol/ControlChannel.h>
#include <sim/protocol/ControlClient.h>
#include <sim/protocol/LineTokenizer.h>

#include <httplib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <future>
#include <iostream>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace sim::viewer {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using driver::Session;
using protocol::ControlClient;
using protocol::Json;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto frameInterval = 33ms;     // at most 30 frames a second for each screen
constexpr auto forcedFrameInterval = 1s; // a full picture now and then, compared byte for byte
constexpr auto stateInterval = 300ms;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

std::string mimeType(std::string_view name)
{
    if (name.ends_with(".html"))
        return "text/html; charset=utf-8";
    if (name.ends_with(".css"))
        return "text/css; charset=utf-8";
    if (name.ends_with(".js"))
        return "text/javascript; charset=utf-8";
    return "application/octet-stream";
}

using Job = JobQueue::Job;

// Everything the threads share.
struct Viewer {
    Session& session;
    EventHub hub;
    JobQueue jobs;
    std::unique_ptr<Recorder> recorder;
    std::optional<fs::path> recordFile;
    Clock::time_point started { Clock::now() };
    driver::ScenarioParser parser { "<viewer>" };
    size_t lineNumber { 0 };
    std::map<std::string, std::unique_ptr<ControlClient>> inputClients; // the device thread's own
    bool fingerDown { false };

    // The frame thread's wake-up: set after every input and control.
    std::mutex frameMutex;
    std::condition_variable frameWake;
    bool frameWanted { false };
    std::atomic<uint64_t> inputHandled { 0 };
    // The latest input handled on each screen (indexed as `screens`): a screen's picture answers
    // only the touches on it.
    std::array<std::atomic<uint64_t>, std::size(screens)> inputHandledOn {};
    // Pixels per point of the pictures: what the last page that connected shows (its device pixel
    // ratio), so a page on an ordinary screen is not sent four times the pixels it can show.
    std::atomic<int> frameScale { 2 };

    explicit Viewer(Session& session)
        : session(session)
    {
    }

    double now() const { return std::chrono::duration<double>(Clock::now() - started).count(); }

    void wakeFrames()
    {
        {
            std::lock_guard lock(frameMutex);
            frameWanted = true;
        }
        frameWake.notify_one();
    }

    void saveRecording()
    {
        if (!recorder || !recordFile)
            return;
        if (!recorder->save(*recordFile))
            hub.publish("notice", Json({ { "text", "cannot write " + recordFile->string() } }).dump());
    }

    void recorded(const std::string& line)
    {
        if (!recorder || line.empty())
            return;
        saveRecording();
        hub.publish("recording", Json({ { "line", line } }).dump(-1, ' ', false, Json::error_handler_t::replace));
    }

    ControlClient& inputClient(const std::string& process)
    {
        auto& client = inputClients[process];
        if (!client)
            client = ControlClient::connect(session.device().hostPath(protocol::controlSocketDevicePath(process)).string(), process);
        return *client;
    }

    // One phase of the finger on a screen (the device thread).
    void finger(const Screen& screen, const std::string& phase, double x, double y, uint64_t sequence)
    {
        char point[64];
        std::snprintf(point, sizeof(point), "%.2f %.2f", x, y);
        try {
            Json answer = inputClient(screen.process).call("finger " + phase + " " + point);
            if (phase == "began") {
                fingerDown = true;
                std::optional<std::string> icon;
                for (const auto& view : answer.value("chain", Json::array())) {
                    if (view.value("class", "") == "SBIconView" && view["label"].is_string()) {
                        icon = view["label"].get<std::string>();
                        break;
                    }
                }
                if (recorder)
                    recorder->fingerBegan(screen.name, x, y, now(), icon);
            } else if (phase == "moved") {
                if (recorder)
                    recorder->fingerMoved(x, y);
            } else {
                fingerDown = false;
                if (recorder)
                    recorded(recorder->fingerEnded(x, y, now()));
            }
        } catch (const std::exception& error) {
            hub.publish("notice", Json({ { "text", std::string(screen.name) + ": " + error.what() } }).dump(-1, ' ', false, Json::error_handler_t::replace));
        }
        inputHandled = std::max<uint64_t>(inputHandled, sequence);
        auto& onScreen = inputHandledOn[static_cast<size_t>(&screen - screens)];
        onScreen = std::max<uint64_t>(onScreen, sequence);
        wakeFrames();
    }

    // A control's command (the device thread).
    Json control(const std::string& text)
    {
        Json result;
        try {
            auto line = parser.parseLine(text, ++lineNumber);
            if (!line)
                return { { "ok", false }, { "message", "empty command" } };
            if (!isControl(line->command))
                return { { "ok", false }, { "message", "'" + line->command.name() + "' is not a control of the viewer" } };
            // Stamped when sent: the device's clock runs while a command such as a launch is
            // carried out, and the replay's waits must cover that time too.
            double sent = now();
            auto answer = session.execute(*line);
            result = { { "ok", answer.isOk() }, { "message", answer.text() } };
            if (answer.isOk() && recorder) {
                std::string written = line->command.line();
                recorder->command(written, sent);
                recorded(written);
            }
        } catch (const std::exception& error) {
            result = { { "ok", false }, { "message", error.what() } };
        }
        wakeFrames();
        return result;
    }

    Json dumps()
    {
        Json state = Json::object();
        for (const char* target : { "springboard", "settings", "prefs" }) {
            try {
                state[target] = session.dump(target);
            } catch (const std::exception& error) {
                state[target] = { { "error", error.what() } };
            }
        }
        return state;
    }

    Json mark()
    {
        Json state = dumps();
        auto lines = Recorder::expectationsFor(state["springboard"], state["settings"], state["prefs"]);
        if (recorder) {
            recorder->expectations(lines, now());
            saveRecording();
            for (const auto& line : lines)
                hub.publish("recording", Json({ { "line", line } }).dump(-1, ' ', false, Json::error_handler_t::replace));
        }
        return { { "ok", true }, { "recording", recorder != nullptr }, { "lines", lines } };
    }
};

// The device thread: jobs in order; between them the state and the log.
void runDevice(Viewer& viewer)
{
    LogFollower log(viewer.session.device().hostPath("/var/log"));
    std::string lastState;
    auto nextState = Clock::now();
    for (;;) {
        Job job = viewer.jobs.take(100ms);
        if (viewer.jobs.stopped() || driver::EmergencyStop::interruptSignal())
            return;
        if (job) {
            job();
            nextState = Clock::now(); // the state right after what the person did
        }
        auto lines = log.newLines();
        if (!lines.empty())
            viewer.hub.publish("log", Json({ { "lines", lines } }).dump(-1, ' ', false, Json::error_handler_t::replace));
        // Dumps read every row of a list by scrolling it, which must not happen under a finger.
        if (Clock::now() >= nextState && !viewer.fingerDown) {
            std::string state = viewer.dumps().dump(-1, ' ', false, Json::error_handler_t::replace);
            if (state != lastState) {
                viewer.hub.publish("state", state, "state");
                lastState = std::move(state);
            }
            nextState = Clock::now() + stateInterval;
        }
    }
}

// The frame thread: asks each host for a picture when its screen changed.
void runFrames(Viewer& viewer, const std::atomic<bool>& stopping)
{
    struct ScreenFrames {
        const Screen* screen;
        std::unique_ptr<ControlClient> client;
        fs::path file;
        uint64_t generation { 0 };
        std::string lastPicture;
        Clock::time_point lastSent {};
        Clock::time_point lastForced {};
        uint64_t sent { 0 };
        size_t index { 0 };
        // The last input on this screen handled before a picture was asked for.
        uint64_t inputShown { 0 };
        int scale { 0 };
        // An input was handled while the last picture was being drawn: the picture may already show
        // it, but the page cannot know, so the next one goes out even if it looks the same.
        bool resend { false };
    };
    std::vector<ScreenFrames> frames;
    for (const auto& screen : screens) {
        ScreenFrames each;
        each.screen = &screen;
        each.client = ControlClient::connect(viewer.session.device().hostPath(protocol::controlSocketDevicePath(screen.process)).string(), screen.process);
        each.file = viewer.session.device().hostPath(std::string("/var/run/viewer-") + screen.name + ".png");
        each.index = frames.size();
        frames.push_back(std::move(each));
    }
    std::vector<ScreenFrames*> order;
    while (!stopping && !driver::EmergencyStop::interruptSignal()) {
        auto now = Clock::now();
        // A screen with a touch waiting for its picture goes first.
        auto answersInput = [&](const ScreenFrames& each) { return viewer.inputHandledOn[each.index] > each.inputShown; };
        order.clear();
        for (auto& each : frames)
            order.push_back(&each);
        std::stable_partition(order.begin(), order.end(), [&](const ScreenFrames* each) { return answersInput(*each); });
        for (auto* screenFrames : order) {
            auto& each = *screenFrames;
            // The rate limit is for pictures nobody waits for: one answering a touch goes at once.
            if (now - each.lastSent < frameInterval && !answersInput(each))
                continue;
            int scale = viewer.frameScale;
            bool force = each.resend || now - each.lastForced >= forcedFrameInterval || scale != each.scale;
            bool resend = std::exchange(each.resend, false);
            uint64_t input = viewer.inputHandled;
            uint64_t inputOnScreen = viewer.inputHandledOn[each.index];
            try {
                Json answer = each.client->call("frame " + std::to_string(force ? 0 : each.generation) + " "
                    + protocol::LineTokenizer::quote(each.file.string()) + " " + std::to_string(scale), 5000ms);
                each.generation = answer.value("generation", each.generation);
                each.inputShown = inputOnScreen;
                each.scale = scale;
                if (force)
                    each.lastForced = now;
                if (viewer.inputHandledOn[each.index] != inputOnScreen)
                    each.resend = true;
                if (!answer.value("changed", false))
                    continue;
                std::string picture = readFile(each.file);
                if (picture.empty() || (picture == each.lastPicture && !resend))
                    continue;
                auto bytes = reinterpret_cast<const unsigned char*>(picture.data());
                Json event { { "screen", each.screen->name }, { "frame", ++each.sent }, { "input", input },
                    { "png", driver::PropertyListJson::base64(bytes, picture.size()) } };
                viewer.hub.publish("frame", event.dump(), std::string("frame:") + each.screen->name);
                each.lastPicture = std::move(picture);
                each.lastSent = Clock::now();
            } catch (const std::exception& error) {
                if (stopping || driver::EmergencyStop::interruptSignal())
                    return;
                viewer.hub.publish("notice", Json({ { "text", std::string("frames of ") + each.screen->name + ": " + error.what() } }).dump());
                std::this_thread::sleep_for(1s);
            }
        }
        std::unique_lock lock(viewer.frameMutex);
        viewer.frameWake.wait_for(lock, frameInterval, [&] { return viewer.frameWanted || stopping.load(); });
        viewer.frameWanted = false;
    }
    for (auto& each : frames) {
        std::error_code error;
        fs::remove(each.file, error);
    }
}

// Runs `work` on the device thread and waits for its answer.
Json onDevice(Viewer& viewer, std::function<Json()> work)
{
    auto promise = std::make_shared<std::promise<Json>>();
    auto answer = promise->get_future();
    viewer.jobs.post([promise, work = std::move(work)] {
        try {
            promise->set_value(work());
        } catch (const std::exception& error) {
            promise->set_value(Json { { "ok", false }, { "message", error.what() } });
        }
    });
    if (answer.wait_for(60s) != std::future_status::ready)
        return { { "ok", false }, { "message", "the device did not answer" } };
    return answer.get();
}

void answerJson(httplib::Response& response, const Json& value, int status = 200)
{
    response.status = status;
    response.set_content(value.dump(-1, ' ', false, Json::error_handler_t::replace), "application/json");
}

// The body of a post as JSON, or nullopt with the refusal answered.
std::optional<Json> jsonBody(const httplib::Request& request, httplib::Response& response)
{
    auto body = viewer::jsonBody(request.get_header_value("Content-Type"), request.body);
    if (auto* refusal = std::get_if<Refusal>(&body)) {
        answerJson(response, { { "ok", false }, { "message", refusal->message } }, refusal->status);
        return std::nullopt;
    }
    return std::get<Json>(std::move(body));
}

// Answers a refusal; true when `decoded` was one.
template<typename T>
bool refused(const std::variant<T, Refusal>& decoded, httplib::Response& response)
{
    auto* refusal = std::get_if<Refusal>(&decoded);
    if (refusal)
        answerJson(response, { { "ok", false }, { "message", refusal->message } }, refusal->status);
    return refusal;
}

}

LiveViewer::LiveViewer(Options options, std::ostream& out, std::ostream& err)
    : m_options(std::move(options))
    , m_out(out)
    , m_err(err)
{
}

int LiveViewer::run()
{
    driver::SessionOptions sessionOptions;
    sessionOptions.layout = m_options.layout;
    if (m_options.deviceFolder) {
        sessionOptions.ownership = driver::Device::Ownership::UseAsIs;
        sessionOptions.deviceFolder = *m_options.deviceFolder;
    }
    sessionOptions.outFolder = fs::current_path();
    sessionOptions.sourceFolder = fs::current_path();
    sessionOptions.virtualTime = false;
    sessionOptions.warn = [this](const std::string& warning) { m_err << warning << "\n"; };

    int status = 0;
    try {
        Session session(sessionOptions);
        Viewer viewer(session);
        if (m_options.recordFile) {
            viewer.recorder = std::make_unique<Recorder>();
            viewer.recordFile = fs::absolute(*m_options.recordFile);
            viewer.saveRecording();
        }
        auto boot = viewer.parser.parseLine("boot", ++viewer.lineNumber);
        auto booted = session.execute(*boot);
        if (!booted.isOk()) {
            m_err << "torvane-sim view: " << booted.text() << "\n";
            return 1;
        }
        viewer.started = Clock::now();

        httplib::Server server;
        // The page sends small JSON requests; anything larger is refused (413) before it is read.
        server.set_payload_max_length(1 << 20);
        std::string expectedHost;
        server.set_pre_routing_handler([&expectedHost](const httplib::Request& request, httplib::Response& response) {
            // Only pages of this address: another name that resolves to the loopback (a page
            // elsewhere rebinding its own name) is refused.
            auto host = request.get_header_value("Host");
            bool ownHost = host == expectedHost || host == "localhost" + expectedHost.substr(expectedHost.find(':'));
            // A browser names the page a request comes from: a script of a page open in another
            // tab may not drive the device, even when it targets this address.
            bool ownOrigin = !request.has_header("Origin") || request.get_header_value("Origin") == "http://" + host;
            if (ownHost && ownOrigin)
                return httplib::Server::HandlerResponse::Unhandled;
            response.status = 403;
            response.set_content("forbidden\n", "text/plain");
            return httplib::Server::HandlerResponse::Handled;
        });
        for (const auto& file : pageFiles()) {
            std::string path = file.name == "index.html" ? "/" : "/" + std::string(file.name);
            server.Get(path, [&file](const httplib::Request&, httplib::Response& response) {
                response.set_header("Cache-Control", "no-store");
                response.set_content(std::string(file.contents), mimeType(file.name));
            });
        }
        server.Get("/events", [&viewer](const httplib::Request& request, httplib::Response& response) {
            response.set_header("Cache-Control", "no-store");
            // ?scale=1 from a page on an ordinary screen, 2 (the default) on a sharper one.
            if (request.has_param("scale"))
                viewer.frameScale = request.get_param_value("scale") == "1" ? 1 : 2;
            auto last = std::make_shared<uint64_t>(0);
            auto started = std::make_shared<bool>(false);
            response.set_chunked_content_provider("text/event-stream", [&viewer, last, started](size_t, httplib::DataSink& sink) {
                std::vector<EventHub::Event> events;
                if (!*started) {
                    *started = true;
                    events = viewer.hub.start(*last);
                    std::string hello = "retry: 1000\n\n";
                    if (!sink.write(hello.data(), hello.size()))
                        return false;
                } else {
                    events = viewer.hub.next(*last, 15s);
                }
                if (viewer.hub.isClosed()) {
                    sink.done();
                    return false;
                }
                std::string text;
                for (const auto& event : events)
                    text += EventHub::wireText(event);
                if (text.empty())
                    text = ": still here\n\n"; // a comment keeps the connection alive
                return sink.write(text.data(), text.size());
            });
        });
        server.Post("/api/input", [&viewer](const httplib::Request& request, httplib::Response& response) {
            auto body = jsonBody(request, response);
            if (!body)
                return;
            auto phases = fingerPhases(*body);
            if (refused(phases, response))
                return;
            for (auto& each : std::get<std::vector<FingerPhase>>(phases)) {
                viewer.jobs.post([&viewer, each] { viewer.finger(*each.screen, each.phase, each.x, each.y, each.sequence); });
            }
            answerJson(response, { { "ok", true } });
        });
        server.Post("/api/command", [&viewer](const httplib::Request& request, httplib::Response& response) {
            auto body = jsonBody(request, response);
            if (!body)
                return;
            auto line = commandLine(*body);
            if (refused(line, response))
                return;
            answerJson(response, onDevice(viewer, [&viewer, line = std::get<std::string>(line)] { return viewer.control(line); }));
        });
        server.Post("/api/mark", [&viewer](const httplib::Request& request, httplib::Response& response) {
            if (!jsonBody(request, response))
                return;
            answerJson(response, onDevice(viewer, [&viewer] { return viewer.mark(); }));
        });
        server.Get("/api/dump", [&viewer](const httplib::Request& request, httplib::Response& response) {
            auto dump = dumpRequest(request.get_param_value("target"), request.get_param_value("screen"));
            if (refused(dump, response))
                return;
            auto wanted = std::get<DumpRequest>(std::move(dump));
            if (wanted.target == "hierarchy") {
                answerJson(response, onDevice(viewer, [&viewer, screen = wanted.screen] {
                    return Json { { "ok", true }, { "dump", viewer.session.hierarchy(screen) } };
                }));
                return;
            }
            answerJson(response, onDevice(viewer, [&viewer, target = wanted.target] {
                return Json { { "ok", true }, { "dump", viewer.session.dump(target) } };
            }));
        });

        // The loopback address only: the device takes input from whoever reaches the page.
        const char* address = "127.0.0.1";
        int port = -1;
        if (m_options.port != 0) {
            for (int candidate = m_options.port; candidate < m_options.port + 20 && candidate <= 65535; ++candidate) {
                if (server.bind_to_port(address, candidate)) {
                    port = candidate;
                    break;
                }
            }
        }
        if (port < 0)
            port = server.bind_to_any_port(address);
        if (port <= 0) {
            m_err << "torvane-sim view: cannot listen on " << address << "\n";
            return 1;
        }
        if (m_options.portGiven && m_options.port != 0 && port != m_options.port)
            m_err << "torvane-sim view: port " << m_options.port << " is taken; using " << port << "\n";
        expectedHost = std::string(address) + ":" + std::to_string(port);
        m_out << "torvane-sim view: http://" << expectedHost << "/  (device at " << session.device().root().string() << ")" << std::endl;
        if (viewer.recordFile)
            m_out << "torvane-sim view: recording to " << viewer.recordFile->string() << std::endl;
        m_out << "torvane-sim view: Ctrl-C ends it" << std::endl;

        std::atomic<bool> stopping { false };
        std::thread device([&] { runDevice(viewer); });
        std::thread frames([&] {
            try {
                runFrames(viewer, stopping);
            } catch (const std::exception& error) {
                m_err << "torvane-sim view: frames: " << error.what() << "\n";
            }
        });
        std::thread watcher([&] {
            while (!stopping && !driver::EmergencyStop::interruptSignal())
                std::this_thread::sleep_for(50ms);
            // Open event streams end first: the server waits for every handler before it stops.
            viewer.hub.close();
            server.stop();
        });
        server.listen_after_bind();

        stopping = true;
        viewer.hub.close();
        viewer.jobs.stop();
        viewer.wakeFrames();
        watcher.join();
        frames.join();
        device.join();
        viewer.saveRecording();
        if (int signal = driver::EmergencyStop::interruptSignal())
            status = signal == SIGINT ? 0 : 128 + signal;
        session.shutdown();
        m_out << "torvane-sim view: stopped" << (m_options.deviceFolder ? "" : "; device folder removed") << std::endl;
    } catch (const std::exception& error) {
        m_err << "torvane-sim view: " << error.what() << "\n";
        return 1;
    }
    return status;
}

}
