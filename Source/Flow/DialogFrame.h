#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Flow/DialogLine.h"
#include "Flow/DialogQuestion.h"

// One step of a conversation: bubbles of text, maybe a question, and the frame that follows.
struct DialogFrame {
    DialogFrame() = default;
    // A copy has its own copy of the question.
    DialogFrame(const DialogFrame& other);
    DialogFrame& operator=(const DialogFrame& other);

    std::unique_ptr<DialogQuestion> question;
    std::vector<DialogLine> lines;
    int32_t id = 0;
    int32_t next = -1;   // below 0 ends the dialog
    std::string script;  // run when the frame is shown; empty for none
};
