#pragma once

// What every host reports of the system views on its screen, in the form the dumps share.

#include <sim/protocol/Json.h>

namespace hosts {

using sim::protocol::Json;

// Every alert view on screen, bottom to top: [ { "class", "title", "message", "buttons" } ].
Json visibleAlertsJson();
// Every action sheet on screen, in the order shown: [ { "title", "buttons" } ].
Json visibleSheetsJson();

}
