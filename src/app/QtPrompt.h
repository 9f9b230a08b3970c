#pragma once

#include "platform/Prompt.h"

namespace solvane::app {

// Message boxes on screen.
class QtPrompt final : public platform::Prompt {
public:
    platform::PromptAnswer ask(const platform::PromptRequest& request) override;
};

} // namespace solvane::app
