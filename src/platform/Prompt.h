#pragma once

#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

namespace solvane::platform {

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
// Answers carry the numbers of the message-box results they stand for.
enum class PromptAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct PromptRequest {
    std::string text;
    std::string caption; // empty: no caption
    PromptButtons buttons = PromptButtons::Ok;
    int defaultButton = 0; // index among the buttons, 0 = first
};

// The first answer of a button set is its first button; defaultAnswer follows defaultButton.
PromptAnswer defaultAnswer(const PromptRequest& request);

// Message boxes: every question the program asks the user goes through here.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual PromptAnswer ask(const PromptRequest& request) = 0;

    PromptAnswer tell(std::string text) { return ask({std::move(text), {}, PromptButtons::Ok, 0}); }
};

// Scripted and head-less runs (--batch): the text goes to a stream (standard error) and the
// default button answers, so nothing ever waits for a user.
class BatchPrompt final : public Prompt {
public:
    explicit BatchPrompt(std::ostream& out);
    PromptAnswer ask(const PromptRequest& request) override;

private:
    std::ostream& m_out;
};

// Test double: records every request and answers from a queue, falling back to the default button.
class ScriptedPrompt final : public Prompt {
public:
    PromptAnswer ask(const PromptRequest& request) override;
    void queue(PromptAnswer answer) { m_answers.push_back(answer); }
    const std::vector<PromptRequest>& asked() const { return m_asked; }
    std::vector<std::string> texts() const;

private:
    std::deque<PromptAnswer> m_answers;
    std::vector<PromptRequest> m_asked;
};

} // namespace solvane::platform
