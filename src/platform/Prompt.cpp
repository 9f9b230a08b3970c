#include "platform/Prompt.h"

#include <array>
#include <ostream>
#include <span>

namespace solvane::platform {

namespace {

std::span<const PromptAnswer> answersOf(PromptButtons buttons) {
    static constexpr std::array kOk{PromptAnswer::Ok};
    static constexpr std::array kOkCancel{PromptAnswer::Ok, PromptAnswer::Cancel};
    static constexpr std::array kYesNo{PromptAnswer::Yes, PromptAnswer::No};
    static constexpr std::array kYesNoCancel{PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::Cancel};
    switch (buttons) {
    case PromptButtons::Ok:
        return kOk;
    case PromptButtons::OkCancel:
        return kOkCancel;
    case PromptButtons::YesNo:
        return kYesNo;
    case PromptButtons::YesNoCancel:
        return kYesNoCancel;
    }
    return kOk;
}

} // namespace

PromptAnswer defaultAnswer(const PromptRequest& request) {
    const auto answers = answersOf(request.buttons);
    const auto index = static_cast<std::size_t>(request.defaultButton);
    return index < answers.size() ? answers[index] : answers.front();
}

BatchPrompt::BatchPrompt(std::ostream& out) : m_out(out) {}

PromptAnswer BatchPrompt::ask(const PromptRequest& request) {
    if (!request.caption.empty())
        m_out << request.caption << ": ";
    m_out << request.text << '\n';
    m_out.flush();
    return defaultAnswer(request);
}

PromptAnswer ScriptedPrompt::ask(const PromptRequest& request) {
    m_asked.push_back(request);
    if (m_answers.empty())
        return defaultAnswer(request);
    const auto answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::vector<std::string> ScriptedPrompt::texts() const {
    std::vector<std::string> texts;
    for (const auto& request : m_asked)
        texts.push_back(request.text);
    return texts;
}

} // namespace solvane::platform
