#pragma once

// The automatic analysis of one recording on every core. Each search has two
// halves (see FrameNextDive): the framing half moves the surface baseline and
// needs the search before it, so it runs ahead, search after search, on a
// copy of the recording; the rest of an accepted dive (its bottom and shape,
// wiggles, stops and analysis) needs only what the framing left, so it runs
// on worker threads, each on a copy of its own. The searches are then taken
// over in order, told and undone as the run would have told and recorded
// them on one thread, so the results are the same to the byte.

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/dive/DiveSearch.h"
#include "core/store/DeferredDialogs.h"

namespace vk {

class DivePipeline {
public:
    // `end` (ms): a dive ending after it is framed but not analysed. At most
    // `threads` workers; the caller's context must outlive the pipeline.
    DivePipeline(DiveContext main, const DiveParameters& p, double end, int threads);
    ~DivePipeline();
    DivePipeline(const DivePipeline&) = delete;
    DivePipeline& operator=(const DivePipeline&) = delete;

    // SearchNext, then AnalyseDive of the dive found when it was accepted and
    // ends by `end`: the recording, the view, the dive state, the messages and
    // the undo steps are left as those two would leave them.
    SearchOutcome next();

    struct Search;  // one search, framed ahead and shaped by a worker

private:
    void frameAhead();
    SearchOutcome takeOver(Search& s);
    SearchOutcome oneThread();
    void work(std::size_t worker);
    void stopWorkers();

    DiveContext main_;
    const DiveParameters p_;
    const double end_;

    // The framing half, ahead of the searches taken over.
    class RecordedUndo;
    Recording aheadRec_;
    ViewState aheadView_;
    DiveState aheadState_;
    DeferredDialogs aheadUi_;
    std::unique_ptr<RecordedUndo> aheadUndo_;
    int32_t aheadCounter_;
    PreviousDive aheadPrevious_;
    bool aheadEnded_ = false;
    bool oneThread_ = false;  // the pipeline gave up: the rest runs as on one thread

    std::vector<Recording> workerRecs_;
    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable todoReady_, searchDone_;
    std::deque<std::unique_ptr<Search>> searches_;  // framed, in order, not yet taken over
    std::deque<Search*> todo_;                      // for the workers
    const Search* waitingFor_ = nullptr;            // the search the caller waits for
    bool stopping_ = false;
};

}  // namespace vk
