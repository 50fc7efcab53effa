// The last check of a load or a project open before it changes the job.
#pragma once

#include <functional>

// Asked once every box of the load has been answered, just before the job
// changes: a box runs the event loop, so a programmer may have started while
// it was open. False refuses the load, after the caller has said why, and
// the job stays as it was.
using TMayPlace = std::function<bool()>;
