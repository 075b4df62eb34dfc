#pragma once
#include <winsock2.h>
#include <windows.h>

// The send-only TCP link to port 1024 of a host. UI thread only.
extern SOCKET tcpSocket;

// 0 connected; 1 resolving failed; 2 starting Winsock failed; 3 making a
// socket failed; 4 connecting failed.
int connectTcp(const wchar_t* host);

// Sends exactly size bytes (the text, then zeros); 0 sent, 1 failed and the
// connection was dropped. A connection open before is closed first by
// connectTcp. A text with a unit above U+00FF has no single-byte form: 1,
// nothing sent, the connection kept.
int sendTcp(const wchar_t* text, int size);
