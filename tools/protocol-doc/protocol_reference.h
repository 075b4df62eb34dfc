#pragma once
// The protocol reference for integrators (docs/protocol.md), written from the
// program's own tables so that it says what the program does.
#include <string>

std::string protocolReference();
