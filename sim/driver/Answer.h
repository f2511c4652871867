#pragma once

#include <sim/protocol/Json.h>

#include <string>

namespace sim::driver {

using protocol::Json;

// What one scenario command gave.
struct Answer {
    enum class Status {
        Ok,
        ExpectFailed, // an `expect` did not hold; the scenario goes on
        Error,        // the command could not be carried out; the scenario stops
    };
    Status status { Status::Ok };
    Json value;          // a dump, a host's answer, or null
    std::string message; // what failed, or a note (file written, warnings)

    static Answer ok(Json value = nullptr, std::string message = {}) { return { Status::Ok, std::move(value), std::move(message) }; }
    static Answer failed(std::string message) { return { Status::ExpectFailed, nullptr, std::move(message) }; }
    static Answer error(std::string message) { return { Status::Error, nullptr, std::move(message) }; }

    bool isOk() const { return status == Status::Ok; }

    // As the shell and the demo's transcript print it.
    std::string text() const
    {
        switch (status) {
        case Status::Ok:
            if (!value.is_null())
                return value.dump(2, ' ', false, Json::error_handler_t::replace);
            return message.empty() ? "ok" : "ok: " + message;
        case Status::ExpectFailed:
            return "FAILED: " + message;
        case Status::Error:
            return "error: " + message;
        }
        return {};
    }
};

}
