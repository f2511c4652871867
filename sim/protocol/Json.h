#pragma once

#include <nlohmann/json.hpp>

namespace sim::protocol {

// Answers on the control channel and every dump are JSON documents.
using Json = nlohmann::json;

}
