#include "core/dive/DivePipeline.h"

#include <algorithm>

namespace vk {

namespace {

// Searches framed ahead of the one taken over: enough to keep the workers
// busy while one dive takes longer, few enough that their lines stay small.
constexpr std::size_t SearchesAhead = 64;
constexpr std::size_t HandedOverAtOnce = 8;
// No hint was left: a code no hint has.
constexpr int NoHintLeft = -1;

struct UndoCall {
    UndoKind kind;
    int slot;
    int32_t from, to;
    uint32_t redraw;
    bool range;
    double yOffsetBefore;  // the only thing the framing half changes
};

struct LeftHint {
    bool left = false;
    int code = HintNone;
    std::string text;
};

LeftHint TakeHint(Recording& rec)
{
    LeftHint h;
    if (rec.pendingHint != NoHintLeft)
        h = {true, rec.pendingHint, rec.pendingHintText};
    rec.pendingHint = NoHintLeft;
    return h;
}

void GiveHint(Recording& rec, const LeftHint& h)
{
    if (h.left)
        SetHint(rec, h.code, h.text);
}

// One attempt's framing half as it went ahead: what it told, recorded and left.
struct FramedAttempt {
    DiveFraming framing;
    DeferredDialogs told;
    std::vector<UndoCall> undo;
    LeftHint hint;
    double yOffset = 0;  // after the attempt
    double surfaceNoise = 0;
    bool baselineTaken = false;
    double f5 = 0;  // where the attempt left F5
};

}  // namespace

class DivePipeline::RecordedUndo : public UndoSink {
public:
    explicit RecordedUndo(const Recording& rec) : rec_(rec) {}
    void Push(UndoKind kind, int slot, uint32_t redraw) override
    {
        calls.push_back({kind, slot, 0, 0, redraw, false, rec_.desc(slot).yOffset});
    }
    void PushRange(UndoKind kind, int slot, int32_t from, int32_t to, uint32_t redraw) override
    {
        calls.push_back({kind, slot, from, to, redraw, true, rec_.desc(slot).yOffset});
    }
    std::vector<UndoCall> calls;

private:
    const Recording& rec_;
};

struct DivePipeline::Search {
    std::vector<FramedAttempt> attempts;
    SearchOutcome outcome;
    bool interruptedAhead = false;  // the framing half asked something: the run goes on one thread from here
    bool analyse = false;           // accepted and ending by the run's end: a worker's
    // For the worker: where the framing left the channel and the cursors, and
    // the counter and the previous dive it expects.
    double yOffset = 0;
    LinePositions at;
    DiveRecord record;
    // What the worker found and told.
    std::vector<WiggleEntry> wiggles;
    StopTable stops;
    double recordOnset = 0;
    DeferredDialogs told;
    LeftHint hint;
    bool failed = false;
    bool done = false;  // under the pipeline's mutex
};

DivePipeline::DivePipeline(DiveContext main, const DiveParameters& p, double end, int threads)
        : main_(main),
          p_(p),
          end_(end),
          aheadRec_(ReadingCopy(main.rec)),
          aheadView_(main.view),
          aheadUndo_(std::make_unique<RecordedUndo>(aheadRec_)),
          aheadCounter_(main.state.record.counter),
          aheadPrevious_(main.state.record.previous)
{
    aheadState_.surfaceNoise = main.state.surfaceNoise;
    aheadState_.baselineTaken = main.state.baselineTaken;
    aheadRec_.pendingHint = NoHintLeft;
    const int count = std::max(threads, 1);
    workerRecs_.reserve(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k)
        workerRecs_.push_back(ReadingCopy(main.rec));
    for (std::size_t k = 0; k < workerRecs_.size(); ++k)
        workers_.emplace_back([this, k] { work(k); });
}

DivePipeline::~DivePipeline()
{
    stopWorkers();
}

void DivePipeline::stopWorkers()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    todoReady_.notify_all();
    for (std::thread& t : workers_)
        t.join();
    workers_.clear();
}

void DivePipeline::frameAhead()
{
    auto s = std::make_unique<Search>();
    DiveContext cx{aheadRec_, aheadView_, aheadState_, aheadUi_, *aheadUndo_, main_.setup};
    const double interval = ChannelView(aheadRec_, AnalysisSlot).interval();
    if (p_.EndDiveValid)
        aheadPrevious_.end = aheadView_.at.F5;
    // As SearchDives: attempts until one is accepted, the data end or no progress is made.
    SearchOutcome out;
    bool moved = false;
    do {
        FramedAttempt a;
        const double before = aheadView_.at.F5;
        out = FrameNextDive(cx, p_, a.framing);
        if (a.framing.framed)
            PutFrame(a.framing.f, interval, aheadView_.at);
        moved = moved || out.windowMoved;
        if (!out.refused && !out.endOfData && !(aheadView_.at.F5 > before))
            out.endOfData = true;
        if (aheadUi_.interrupted()) {
            s->interruptedAhead = true;
            break;
        }
        a.told = std::move(aheadUi_);
        aheadUi_.clear();
        a.undo = std::move(aheadUndo_->calls);
        aheadUndo_->calls.clear();
        a.hint = TakeHint(aheadRec_);
        a.yOffset = aheadRec_.desc(AnalysisSlot).yOffset;
        a.surfaceNoise = aheadState_.surfaceNoise;
        a.baselineTaken = aheadState_.baselineTaken;
        a.f5 = aheadView_.at.F5;
        s->attempts.push_back(std::move(a));
    } while (!out.accepted && !out.endOfData && !out.refused);
    out.windowMoved = moved;
    s->outcome = out;
    s->analyse = !s->interruptedAhead && out.accepted && aheadView_.at.F5 <= end_;
    if (s->analyse) {
        s->yOffset = aheadRec_.desc(AnalysisSlot).yOffset;
        s->at = aheadView_.at;
        s->record.counter = aheadCounter_;
        s->record.previous = aheadPrevious_;
        // The dive as CountDive will leave it; its depth is known once it is analysed.
        ++aheadCounter_;
        aheadPrevious_ = {aheadView_.at.F5, aheadView_.at.F5 - aheadView_.at.F4, 0};
    } else {
        aheadEnded_ = true;  // the run ends with this search
    }
    const std::lock_guard lock(mutex_);
    if (s->analyse) {
        todo_.push_back(s.get());
        // Waking a worker costs about as much as framing a dive: they are woken
        // for several dives at a time, and before the caller waits.
        if (todo_.size() >= HandedOverAtOnce)
            todoReady_.notify_all();
    }
    searches_.push_back(std::move(s));
}

void DivePipeline::work(std::size_t worker)
{
    Recording& rec = workerRecs_[worker];
    while (true) {
        Search* s = nullptr;
        {
            std::unique_lock lock(mutex_);
            todoReady_.wait(lock, [this] { return stopping_ || !todo_.empty(); });
            if (stopping_)
                return;
            s = todo_.front();
            todo_.pop_front();
        }
        try {
            rec.desc(AnalysisSlot).yOffset = s->yOffset;
            rec.pendingHint = NoHintLeft;
            ViewState view;
            view.at = s->at;
            DiveState state;
            state.record = s->record;
            NoUndo undo;
            DiveContext cx{rec, view, state, s->told, undo, main_.setup};
            ShapeFramedDive(cx, p_, s->attempts.back().framing);
            WigglesAndStops(cx, p_, true);
            AnalyseDive(rec, view.at, p_, state, main_.setup, s->told);
            s->record = std::move(state.record);
            s->wiggles = std::move(state.wiggles);
            s->stops = std::move(state.stops);
            s->recordOnset = state.recordOnset;
            s->at = view.at;
            s->hint = TakeHint(rec);
        } catch (...) {
            s->failed = true;  // done again where it is taken over
        }
        bool waited = false;
        {
            const std::lock_guard lock(mutex_);
            s->done = true;
            waited = waitingFor_ == s;
        }
        if (waited)
            searchDone_.notify_one();
    }
}

SearchOutcome DivePipeline::next()
{
    if (oneThread_)
        return oneThread();
    std::unique_ptr<Search> s;
    {
        std::unique_lock lock(mutex_);
        while (true) {
            if (!searches_.empty() && (!searches_.front()->analyse || searches_.front()->done))
                break;
            if (!aheadEnded_ && searches_.size() < SearchesAhead) {
                // Frame further ahead while the workers shape.
                lock.unlock();
                frameAhead();
                lock.lock();
                continue;
            }
            if (!todo_.empty())
                todoReady_.notify_all();
            waitingFor_ = searches_.front().get();
            searchDone_.wait(lock);
        }
        waitingFor_ = nullptr;
        s = std::move(searches_.front());
        searches_.pop_front();
    }
    return takeOver(*s);
}

SearchOutcome DivePipeline::oneThread()
{
    const SearchOutcome out = SearchNext(main_, p_);
    if (out.accepted && main_.view.at.F5 <= end_)
        AnalyseDive(main_.rec, main_.view.at, p_, main_.state, main_.setup, main_.ui);
    return out;
}

SearchOutcome DivePipeline::takeOver(Search& s)
{
    if (s.interruptedAhead) {
        // What the framing asked must be asked of the user: the run is exact up
        // to here and goes on as on one thread.
        oneThread_ = true;
        stopWorkers();
        return oneThread();
    }
    DiveState& st = main_.state;
    ChannelDescriptor& d = main_.rec.desc(AnalysisSlot);
    if (p_.EndDiveValid)
        st.record.previous.end = main_.view.at.F5;
    // The worker went by the counter and the previous dive the framing
    // expected; anything else (or a question it could not ask) and the dive
    // is shaped and analysed here.
    const bool workerDone = s.analyse && !s.failed && !s.told.interrupted() && s.record.counter == st.record.counter &&
                            s.record.previous.end == st.record.previous.end &&
                            s.record.previous.duration == st.record.previous.duration;
    for (std::size_t k = 0; k < s.attempts.size(); ++k) {
        FramedAttempt& a = s.attempts[k];
        a.told.tellTo(main_.ui);
        for (const UndoCall& c : a.undo) {
            main_.rec.desc(c.slot).yOffset = c.yOffsetBefore;
            if (c.range)
                main_.undo.PushRange(c.kind, c.slot, c.from, c.to, c.redraw);
            else
                main_.undo.Push(c.kind, c.slot, c.redraw);
        }
        d.yOffset = a.yOffset;
        GiveHint(main_.rec, a.hint);
        st.surfaceNoise = a.surfaceNoise;
        st.baselineTaken = a.baselineTaken;
        if (!a.framing.framed) {
            main_.view.at.F5 = a.f5;
            continue;
        }
        if (k + 1 < s.attempts.size() || !workerDone)
            ShapeFramedDive(main_, p_, a.framing);
    }
    const SearchOutcome& out = s.outcome;
    if (workerDone) {
        s.told.tellTo(main_.ui);
        GiveHint(main_.rec, s.hint);
        main_.view.at = s.at;
        const PreviousDive previous = st.record.previous;
        st.record = std::move(s.record);
        st.record.previous = previous;
        if (Known(st.record.durationDifference))
            DifferencesToPrevious(st.record, p_);  // the previous depth is known only now
        st.wiggles = std::move(s.wiggles);
        st.stops = std::move(s.stops);
        st.recordOnset = s.recordOnset;
        if (p_.AdjustYSize)
            FitDepthRange(d, out.maxDepth);
        return out;
    }
    if (out.accepted) {
        WigglesAndStops(main_, p_, true);
        if (p_.AdjustYSize)
            FitDepthRange(d, out.maxDepth);
        if (s.analyse)
            AnalyseDive(main_.rec, main_.view.at, p_, st, main_.setup, main_.ui);
    }
    return out;
}

}  // namespace vk
