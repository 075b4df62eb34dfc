#pragma once
// The process's own handle and thread counts, for leak checks.

// GetProcessHandleCount of this process; -1 when the call fails. (Wine 8
// answers 0 without failing.)
long ownHandleCount();
// This process's entries in the system handle table (NtQuerySystemInformation,
// extended handle information); -1 when the system does not give it.
long ownHandleTableCount();
// Threads of this process in a Toolhelp snapshot; -1 when it cannot be taken.
long ownThreadCount();
// This process's working set in bytes; -1 when it cannot be read.
long long ownWorkingSetBytes();
