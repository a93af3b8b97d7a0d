#include "Flow/DialogFrame.h"

DialogFrame::DialogFrame(const DialogFrame& other)
    : question(other.question ? std::make_unique<DialogQuestion>(*other.question) : nullptr),
      lines(other.lines),
      id(other.id),
      next(other.next),
      script(other.script) {}

DialogFrame& DialogFrame::operator=(const DialogFrame& other) {
    if (this != &other) {
        question = other.question ? std::make_unique<DialogQuestion>(*other.question) : nullptr;
        lines = other.lines;
        id = other.id;
        next = other.next;
        script = other.script;
    }
    return *this;
}
