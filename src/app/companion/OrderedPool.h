// Work taken in turn by a few threads and handed back in the order it was read: a batch reads its
// table on one thread, runs the rows on several and reports them in the table's order.
#pragma once

#include <cstddef>
#include <functional>

namespace rh {

// Runs jobs through `slots` job slots, the caller's own (a vector of its jobs, say), on `threads`
// threads. `fill(slot)` loads the next job into a free slot and is false when no job is left;
// `run(slot, thread)` runs it on the worker `thread` (0 to threads - 1, so each may keep state of
// its own from job to job); `report(slot)` takes it back, in the order the jobs were filled. Fill
// and report run on the calling thread. With one thread (or fewer) every job runs on the calling
// thread, through slot 0 and thread 0. An exception from `run` no job can report (out of memory)
// stops the work and is raised once the threads have ended; one from `fill` or `report` likewise.
void RunInOrder(unsigned threads, std::size_t slots, const std::function<bool(std::size_t)>& fill,
                const std::function<void(std::size_t, unsigned)>& run,
                const std::function<void(std::size_t)>& report);

}  // namespace rh
