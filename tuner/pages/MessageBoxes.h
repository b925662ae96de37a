// The tuner's message boxes: modal, without an owner window.
#pragma once

#include "model/Messages.h"

// Shows the message and waits for the answer; true for OK or Yes.
bool ShowUserMessage(const tuner::UserMessage& message);
