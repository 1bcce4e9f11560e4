// The engine's message texts: one table, Japanese as the dialog shows them.
#pragma once

#include "varnowel/host.h"
#include "varnowel/status.h"

namespace varnowel {

// The message for a failed status. `status` must not be ok.
Message MessageFor(const Status& status);

// Substitutes `message.path` for the "%s" of its text, for hosts whose paths are UTF-8.
std::string FormatMessageText(const Message& message);

}  // namespace varnowel
