// The scheduling priority of the calling thread.
#pragma once

enum class TThreadPriority { AboveNormal, Highest };

// Raises the calling thread above the program's other threads, as far as the
// process may: without the right to raise priorities it keeps the normal
// one, which changes nothing but how soon it runs.
void RaiseCurrentThreadPriority(TThreadPriority priority);
