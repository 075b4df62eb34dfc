#include "pty_port.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

bool openPtyPort(PtyPort& port, std::string& error) {
  int fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) {
    error = std::string("cannot open a pty: ") + std::strerror(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  const char* name = ptsname(fd);
  if (!name) {
    error = std::string("ptsname: ") + std::strerror(errno);
    close(fd);
    return false;
  }
  fcntl(fd, F_SETFD, FD_CLOEXEC);
  makeRaw(fd);
  port.master = fd;
  port.slavePath = name;
  return true;
}

void closePtyPort(PtyPort& port) {
  if (port.master >= 0) close(port.master);
  port.master = -1;
}

void makeRaw(int fd) {
  termios tio;
  if (tcgetattr(fd, &tio) != 0) return;
  cfmakeraw(&tio);
  cfsetispeed(&tio, B115200);
  cfsetospeed(&tio, B115200);
  tio.c_cflag |= CLOCAL | CREAD;
  tcsetattr(fd, TCSANOW, &tio);
}

bool pointLink(const std::string& link, const std::string& target, std::string& error) {
  struct stat st;
  if (lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
    error = link + " exists and is not a symlink; not replacing it";
    return false;
  }
  std::string temporary = link + ".vrx-sim-" + std::to_string(getpid());
  unlink(temporary.c_str());
  if (symlink(target.c_str(), temporary.c_str()) != 0 ||
      rename(temporary.c_str(), link.c_str()) != 0) {
    error = "cannot make symlink " + link + ": " + std::strerror(errno);
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

void removeLinkTo(const std::string& link, const std::string& target) {
  char buffer[4096];
  ssize_t length = readlink(link.c_str(), buffer, sizeof buffer - 1);
  if (length < 0) return;
  buffer[length] = '\0';
  if (target == buffer) unlink(link.c_str());
}
