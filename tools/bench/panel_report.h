#pragma once
// The figures of the in-process measurements, each with its unit and how it
// was measured, as `make bench`, `make stress` and the stress cases print them.
#include "tools/bench/scenarios/panel_scenarios.h"

void printReplyDelay(const ReplyDelay& r);
void printSustainedInput(const SustainedInput& r);
void printConnectCycles(const ConnectCycles& r);
void printUnplug(const Unplug& r, UnplugBy by);
void printHostileInput(const HostileInput& r, const PanelPorts& ports);
void printLongSession(const LongSession& r);
void printLongPaste(const LongPaste& r);
void printPaneCosts(const PaneCosts& r);
void printClicksUnderStream(const ClicksUnderStream& r);
