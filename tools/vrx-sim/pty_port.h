#pragma once
// The unit's end of the serial cable: a pseudo-terminal whose slave the
// control panel opens (through a symlink) as if it were a COM port.
#include <string>

struct PtyPort {
  int master = -1;
  std::string slavePath;
};

// Opens a non-blocking pty master in raw mode. Returns false and says why.
bool openPtyPort(PtyPort& port, std::string& error);

void closePtyPort(PtyPort& port);

// Raw 8N1: the panel's commands and the unit's replies pass byte for byte.
// Done again whenever a program reopens the slave, since it may change them.
void makeRaw(int fd);

// Makes link a symlink to target, replacing an older symlink in one step so
// that a client never sees it missing. Refuses to replace anything else.
bool pointLink(const std::string& link, const std::string& target, std::string& error);

// Removes link if it is still a symlink to target.
void removeLinkTo(const std::string& link, const std::string& target);
