#include "CommandTable.h"

#include <algorithm>

namespace sim::protocol {

using Type = ArgumentRule::Type;

std::string_view CommandRow::process() const
{
    switch (kind) {
    case CommandKind::SpringBoard:
        return "springboard";
    case CommandKind::Settings:
        return "settings-app";
    default:
        return {};
    }
}

namespace {

ArgumentRule literal(std::string_view word) { return { .type = Type::Literal, .name = word }; }
ArgumentRule word(std::string_view name, std::string_view error = {}) { return { .type = Type::Word, .name = name, .error = error }; }
ArgumentRule text(std::string_view name) { return { .type = Type::Text, .name = name }; }
ArgumentRule choice(std::string_view name, std::vector<std::string_view> choices, std::string_view error = {})
{
    return { .type = Type::Choice, .name = name, .choices = std::move(choices), .error = error };
}
ArgumentRule number(std::string_view name, std::string_view error, std::optional<double> minimum = {}, std::optional<double> maximum = {})
{
    return { .type = Type::Number, .name = name, .minimum = minimum, .maximum = maximum, .error = error };
}
ArgumentRule integer(std::string_view name, std::string_view error, std::optional<double> minimum = {}, std::optional<double> maximum = {})
{
    return { .type = Type::Integer, .name = name, .minimum = minimum, .maximum = maximum, .error = error };
}
ArgumentRule json(std::string_view name) { return { .type = Type::Json, .name = name }; }
ArgumentRule propertyListValue(std::string_view name) { return { .type = Type::PropertyListValue, .name = name }; }
ArgumentRule devicePath(std::string_view name) { return { .type = Type::DevicePath, .name = name }; }
ArgumentRule optional(ArgumentRule argument)
{
    argument.optional = true;
    return argument;
}

const std::vector<std::string_view> processTargets { "springboard", "settings" };
const std::vector<std::string_view> dumpTargets { "springboard", "settings", "prefs", "companion" };
const std::vector<std::string_view> dumpTargetsAndLog { "springboard", "settings", "prefs", "companion", "log" };

std::vector<CommandRow> makeScenarioTable()
{
    using K = CommandKind;
    using P = Phase;
    std::vector<CommandRow> table {
        // Setting up
        { "activator", "", { choice("activator", { "on", "off" }) }, {}, "activator on|off", "Activator library file present (default on)", K::Setup, P::BeforeBoot },
        { "companion", "", { choice("companion", { "on", "off" }) }, {}, "companion on|off", "Nimbrel library file present (default on)", K::Setup, P::BeforeBoot },
        { "companion", "pace", { number("SECONDS", "companion pace needs a number of seconds from 0 to 60, not '{}'", 0, 60) }, {}, "companion pace SECONDS",
            "each step of a Nimbrel collection (six stages, then the announcement) waits SECONDS of virtual time (default 0: one run-loop turn)",
            K::Setup, P::BeforeBoot },
        { "prefs", "", { word("KEY", "empty key"), propertyListValue("JSON") }, {}, "prefs KEY JSON",
            "put KEY = value into the preferences file (JSON: true/false, number, \"string\", [..], {..})", K::Setup, P::BeforeBoot },
        { "prefs-remove", "", { word("KEY", "empty key") }, {}, "prefs-remove KEY", "take KEY out of the preferences file", K::Setup, P::BeforeBoot },
        { "file", "put", { devicePath("DEVICEPATH"), word("HOSTPATH", "empty host path") }, {}, "file put DEVICEPATH HOSTPATH",
            "copy a file into the device (HOSTPATH relative to the scenario file); also after boot", K::Setup, P::Anytime },
        { "file", "rm", { devicePath("DEVICEPATH") }, {}, "file rm DEVICEPATH", "remove a file or folder of the device; also after boot", K::Setup, P::Anytime },
        { "app", "install", { word("BID"), word("Name") },
            {
                { "dock", {}, "place" },
                { "page", integer("N", "page must be a number from 0 to 99, not '{}'", 0, 99), "place" },
                { "folder", word("Folder", "a folder needs a name"), "place" },
                { "badge", integer("N", "badge needs a number from 0", 0), "", "badge needs a number from 0" },
            },
            "app install BID \"Name\" [dock | page N | folder \"Folder\"] [badge N]",
            "install an application (page 0 when no place is given); no app install lines: the standard set", K::Setup, P::BeforeBoot },
        { "package", "install", { word("FILE.deb", "package install needs a .deb file") }, { { "refused" } },
            "package install FILE.deb [refused]",
            "install a Debian package with dpkg (refused: dpkg must refuse it); also after boot, when SpringBoard restarts",
            K::Setup, P::Anytime },
        { "package", "remove", { word("NAME", "package remove needs a package name") }, {}, "package remove NAME",
            "remove an installed package with dpkg; also after boot, when SpringBoard restarts", K::Setup, P::Anytime },
        { "boot", "", {}, {}, "boot", "start notifyd, SpringBoard (with the substrate), the companion and Settings", K::Boot, P::BeforeBoot },
        { "broker", "restart", {}, {}, "broker restart",
            "kill the notification broker and start it again while the device runs; its clients reconnect by themselves",
            K::Setup, P::AfterBoot },

        // SpringBoard
        { "launch", "", { word("BID") }, { { "mb", number("M", "mb must be a number from 0 to 4096", 0, 4096), "", "usage: launch BID [mb M]" } },
            "launch BID [mb M]", "start the application as a process holding about M MB resident (default 8)", K::SpringBoard, P::AfterBoot },
        { "quit", "", { word("BID") }, {}, "quit BID", "the application exits by itself", K::SpringBoard, P::AfterBoot },
        { "kill", "", { word("BID") }, {}, "kill BID", "the application's process is killed from outside (SIGKILL), as the system ends one",
            K::SpringBoard, P::AfterBoot },
        { "swipe", "", { choice("direction", { "up", "down" }), word("TARGET") },
            { { "by", number("D", "'by' needs a number"), "", "'by' needs a number" }, { "dx", number("X", "'dx' needs a number"), "", "'dx' needs a number" } },
            "swipe up|down TARGET [by D] [dx X]", "touch-began at the icon's centre, one touch-moved D up or down (default 10) and X across, touch-ended there",
            K::SpringBoard, P::AfterBoot },
        { "touch", "", { word("TARGET"), literal("begin"), number("X", "touch begin needs two numbers"), number("Y", "touch begin needs two numbers") }, {},
            "touch TARGET begin X Y | touch move X Y | touch end", "raw touches in the icon view's coordinates", K::SpringBoard, P::AfterBoot },
        { "touch", "move", { number("X", "touch move needs two numbers"), number("Y", "touch move needs two numbers") }, {},
            "touch TARGET begin X Y | touch move X Y | touch end", "raw touches in the icon view's coordinates", K::SpringBoard, P::AfterBoot },
        { "touch", "end", {}, {}, "touch TARGET begin X Y | touch move X Y | touch end", "raw touches in the icon view's coordinates", K::SpringBoard, P::AfterBoot },
        { "switcher", "", { choice("switcher", { "show", "hide" }) }, {}, "switcher show|hide", "show or hide the switcher bar", K::SpringBoard, P::AfterBoot },
        { "folder", "open", { text("Name") }, {}, "folder open \"Name\" | folder close", "open a folder of the home screen, or close the open one", K::SpringBoard, P::AfterBoot },
        { "folder", "close", {}, {}, "folder open \"Name\" | folder close", "open a folder of the home screen, or close the open one", K::SpringBoard, P::AfterBoot },
        { "edit", "", { choice("edit", { "start", "stop" }) }, {}, "edit start|stop", "start or stop editing the home screen", K::SpringBoard, P::AfterBoot },
        { "notify", "post", { word("NAME", "empty notification name") }, {}, "notify post NAME",
            "SpringBoard posts the Darwin notification NAME, as another process would", K::SpringBoard, P::AfterBoot },
        { "lock", "", {}, {}, "lock", "lock the device", K::SpringBoard, P::AfterBoot },
        { "unlock", "", {}, {}, "unlock", "unlock the device", K::SpringBoard, P::AfterBoot },
        { "home", "", {}, {}, "home", "press the home button", K::SpringBoard, P::AfterBoot },
        { "badge", "", { word("BID"), integer("N", "badge must be a number from 0, not '{}'", 0) }, {}, "badge BID N",
            "set (N > 0) or clear (0) an icon's badge", K::SpringBoard, P::AfterBoot },
        { "alert", "tap", { text("Button") }, {}, "alert tap \"Button\"", "tap a button of SpringBoard's topmost alert (the quick-killer popup's included)",
            K::SpringBoard, P::AfterBoot },
        { "activator", "assign", { word("EVENT") }, {}, "activator assign EVENT | activator send EVENT",
            "assign the quick killer to an event; fire an event", K::SpringBoard, P::AfterBoot },
        { "activator", "send", { word("EVENT") }, {}, "activator assign EVENT | activator send EVENT",
            "assign the quick killer to an event; fire an event", K::SpringBoard, P::AfterBoot },
        { "popup", "kill", { text("AppName") }, {}, "popup kill \"AppName\"", "tap the row's red Kill button in the quick-killer popup", K::SpringBoard, P::AfterBoot },
        { "tap", "springboard", { number("X", "tap needs two numbers"), number("Y", "tap needs two numbers") }, {}, "tap springboard|settings X Y",
            "one touch at screen point (X, Y) of that process (points, 320 x 480)", K::SpringBoard, P::AfterBoot },
        { "drag", "springboard", { number("X1", "drag needs four numbers"), number("Y1", "drag needs four numbers"), number("X2", "drag needs four numbers"),
                                     number("Y2", "drag needs four numbers") },
            { { "seconds", number("S", "'seconds' needs a number from 0.01 to 10", 0.01, 10), "", "'seconds' needs a number" } },
            "drag springboard|settings X1 Y1 X2 Y2 [seconds S]",
            "touch-began at the first point, touch-moved along the line at 60 Hz of virtual time (default 0.2 s), touch-ended at the second",
            K::SpringBoard, P::AfterBoot },
        { "wait", "", { number("SECONDS", "wait needs a number of seconds from 0, not '{}'", 0) }, {}, "wait SECONDS", "advance the virtual clock",
            K::Wait, P::AfterBoot },
        { "wait", "until", { choice("wait until's target", dumpTargetsAndLog), text("POINTER"), text("OP"), optional(json("VALUE")) },
            { { "max", number("SECONDS", "max needs a number of seconds from 0 to 3600, not '{}'", 0, 3600), "", "'max' needs a number of seconds" } },
            "wait until springboard|settings|prefs|companion POINTER OP [VALUE] [max SECONDS] | wait until log contains \"TEXT\" [max SECONDS]",
            "advance the virtual clock a 60 Hz frame at a time until the expectation holds (fails after max seconds, default 5)",
            K::Wait, P::AfterBoot },

        // Settings
        { "settings", "open", {}, {}, "settings open", "open the Torvane pane (its root list)", K::Settings, P::AfterBoot },
        { "settings", "toggle", { word("ID"), choice("toggle", { "on", "off" }) }, {}, "settings toggle ID on|off",
            "flip a switch row by specifier identifier (ConfirmationHomeID, ...)", K::Settings, P::AfterBoot },
        { "settings", "select", { word("ID") }, {}, "settings select ID", "open a row (NeverShowID, ChooseImageID)", K::Settings, P::AfterBoot },
        { "settings", "row", { text("Text") }, {}, "settings row \"Text\"", "tap the row with that text on the top screen", K::Settings, P::AfterBoot },
        { "settings", "sheet", { text("Button") }, {}, "settings sheet \"Button\"", "tap an action-sheet button", K::Settings, P::AfterBoot },
        { "settings", "reload", {}, {}, "settings reload", "tap the root's Reload button", K::Settings, P::AfterBoot },
        { "settings", "save", {}, {}, "settings save", "the theme chooser's Save button", K::Settings, P::AfterBoot },
        { "settings", "cancel", {}, {}, "settings cancel", "the theme chooser's Cancel button", K::Settings, P::AfterBoot },
        { "settings", "opacity", { number("VALUE", "usage: settings opacity VALUE (a number)") }, {}, "settings opacity VALUE",
            "set OpacityValue through its row", K::Settings, P::AfterBoot },
        { "settings", "alert", { text("Button") }, {}, "settings alert \"Button\"", "tap a button of the Settings application's topmost alert",
            K::Settings, P::AfterBoot },
        { "settings", "back", {}, {}, "settings back", "pop the top screen", K::Settings, P::AfterBoot },
        { "settings", "leave", {}, {}, "settings leave", "the Settings application resigns active (home button)", K::Settings, P::AfterBoot },
        { "tap", "settings", { number("X", "tap needs two numbers"), number("Y", "tap needs two numbers") }, {}, "tap springboard|settings X Y",
            "one touch at screen point (X, Y) of that process (points, 320 x 480)", K::Settings, P::AfterBoot },
        { "drag", "settings", { number("X1", "drag needs four numbers"), number("Y1", "drag needs four numbers"), number("X2", "drag needs four numbers"),
                                  number("Y2", "drag needs four numbers") },
            { { "seconds", number("S", "'seconds' needs a number from 0.01 to 10", 0.01, 10), "", "'seconds' needs a number" } },
            "drag springboard|settings X1 Y1 X2 Y2 [seconds S]",
            "touch-began at the first point, touch-moved along the line at 60 Hz of virtual time (default 0.2 s), touch-ended at the second",
            K::Settings, P::AfterBoot },
        { "scroll", "settings", { choice("direction", { "up", "down" }) }, {}, "scroll settings up|down",
            "drag the top screen's list by most of its height (down shows what lies below)", K::Settings, P::AfterBoot },

        // Observing
        { "screenshot", "", { choice("screenshot's target", processTargets), word("FILE") }, {}, "screenshot springboard|settings FILE.png",
            "write a picture of the screen (FILE relative to --out)", K::Screenshot, P::AfterBoot },
        { "dump", "hierarchy", { choice("hierarchy's target", processTargets), optional(word("FILE")) }, {}, "dump hierarchy springboard|settings [FILE.json]",
            "write the screen's view tree as JSON (without FILE: print it): class, frame, tag, alpha, hidden, text, label, value", K::Dump, P::AfterBoot },
        { "dump", "", { choice("dump's target", dumpTargets), optional(word("FILE")) }, {}, "dump springboard|settings|prefs|companion [FILE.json]",
            "write the state as JSON (without FILE: print it); prefs and companion also before boot", K::Dump, P::AnytimeForFiles },
        { "expect", "log", { choice("", { "contains", "!contains" }, "usage: expect log contains|!contains \"TEXT\""), text("TEXT") }, {},
            "expect log contains|!contains \"TEXT\"", "search every log line of every process", K::Expect, P::Anytime },
        { "expect", "file", { devicePath("DEVICEPATH"), choice("", { "exists", "absent" }, "usage: expect file DEVICEPATH exists|absent") }, {},
            "expect file DEVICEPATH exists|absent", "whether a file or folder of the device exists", K::Expect, P::Anytime },
        { "expect", "package", { word("NAME", "expect package needs a package name"),
                                   choice("", { "installed", "absent" }, "usage: expect package NAME installed|absent [VERSION]"), optional(word("VERSION")) }, {},
            "expect package NAME installed|absent [VERSION]", "what the device's package database says of a package", K::Expect, P::Anytime },
        { "expect", "", { choice("expect's target", { "springboard", "settings", "prefs", "companion", "log" }), text("POINTER"), word("OP"), optional(json("VALUE")) }, {},
            "expect springboard|settings|prefs|companion POINTER OP [VALUE]",
            "compare the value at a JSON pointer of a fresh dump: == != < <= > >= ~= contains !contains absent length", K::Expect, P::AnytimeForFiles },

        // Scenario files
        { "include", "", { word("FILE", "include needs a file") }, {}, "include FILE",
            "play another scenario file here (FILE relative to this file; a cycle is refused)", K::Include, P::Anytime },
    };
    return table;
}

std::vector<CommandRow> makeChannelTable()
{
    using K = CommandKind;
    using P = Phase;
    return {
        { "ping", "", {}, {}, "ping", "{\"process\":NAME,\"pid\":N}", K::Channel, P::Anytime },
        { "advance", "", { number("SECONDS", "advance needs a number of seconds from 0, not '{}'", 0) }, {}, "advance SECONDS",
            "let SECONDS pass on the main run loop, stepping through every timer due on the way", K::Channel, P::Anytime },
        { "idle", "", {}, {}, "idle", "{\"idle\":BOOL,\"next\":SECONDS|null}", K::Channel, P::Anytime },
        { "dump", "", {}, {}, "dump", "{\"dump\":{...}}: the host's state", K::Channel, P::Anytime },
        { "screenshot", "", { word("PATH") }, {}, "screenshot PATH", "write a PNG of the screen at the host path PATH", K::Channel, P::Anytime },
        { "hierarchy", "", {}, {}, "hierarchy", "{\"hierarchy\":{\"windows\":[...]}}: the screen's view tree", K::Channel, P::Anytime },
        { "frame", "", { integer("SINCE", "frame needs the generation last seen, a whole number from 0", 0), word("PATH"),
                           optional(integer("SCALE", "frame's scale is 1 or 2 pixels a point", 1, 2)) }, {}, "frame SINCE PATH [SCALE]",
            "{\"changed\":BOOL,\"generation\":G}: a PNG of the screen at PATH (SCALE pixels a point, default 2) only when it changed since generation SINCE",
            K::Channel, P::Anytime },
        { "finger", "", { choice("phase", { "began", "moved", "ended" }), number("X", "finger needs two numbers"), number("Y", "finger needs two numbers") }, {},
            "finger began|moved|ended X Y", "one phase of a finger moved by hand, at a screen point, as it happens", K::Channel, P::Anytime },
    };
}

}

const std::vector<CommandRow>& CommandTable::scenario()
{
    static const std::vector<CommandRow> table = makeScenarioTable();
    return table;
}

const std::vector<CommandRow>& CommandTable::channel()
{
    static const std::vector<CommandRow> table = makeChannelTable();
    return table;
}

std::string_view CommandTable::sectionOf(const CommandRow& row)
{
    switch (row.kind) {
    case CommandKind::Setup:
    case CommandKind::Boot:
        return "Setting up (before boot, unless said otherwise)";
    case CommandKind::SpringBoard:
    case CommandKind::Wait:
        return "SpringBoard";
    case CommandKind::Settings:
        return "Settings";
    case CommandKind::Screenshot:
    case CommandKind::Dump:
    case CommandKind::Expect:
        return "Observing";
    case CommandKind::Include:
        return "Scenario files";
    case CommandKind::Channel:
        return "Control channel";
    }
    return {};
}

std::string CommandTable::helpText()
{
    std::string text;
    std::string_view section;
    std::vector<std::string_view> listed;
    for (const auto& row : scenario()) {
        if (std::find(listed.begin(), listed.end(), row.usage) != listed.end())
            continue;
        listed.push_back(row.usage);
        if (sectionOf(row) != section) {
            section = sectionOf(row);
            text += (text.empty() ? "" : "\n") + std::string(section) + "\n";
        }
        std::string line = "  " + std::string(row.usage);
        if (line.size() < 40)
            line.resize(40, ' ');
        else
            line += "\n" + std::string(40, ' ');
        text += line + std::string(row.summary) + "\n";
    }
    return text;
}

}
