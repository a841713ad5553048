#pragma once

#include "shell/Session.h"
#include "support/ScriptedPrompt.h"

namespace korvan::test {

// A session of the desktop program started for a model, answering from a script.
struct SessionFixture {
    explicit SessionFixture(GatewayModel model) { session.start(model); }

    ScriptedPrompt prompt;
    gui::Session session{prompt};
};

} // namespace korvan::test
