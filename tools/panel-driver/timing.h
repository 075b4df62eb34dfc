#pragma once
// The clock of every wait and measurement.

// Milliseconds of QueryPerformanceCounter since an arbitrary start.
double nowMs();
