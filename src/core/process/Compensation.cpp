#include "core/process/Compensation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "core/process/RawSectionPass.h"
#include "core/process/Workshop.h"
#include "core/store/Channel.h"
#include "core/store/ChannelSeries.h"
#include "core/store/ChunkValues.h"
#include "core/store/RawRuns.h"
#include "core/view/RedrawRequest.h"

namespace vk {

namespace {

constexpr int32_t WorkshopLimit = 8191;  // longer sections are read directly, unsmoothed
constexpr int32_t SurfaceSamples = 50;   // the reference of a long section: the mean of its last 51 values
constexpr double TinyPulse = 1e-290;     // e^(1 - i / tau) below it counts as 0
constexpr const char* GapsInSection =
    "The section holds missing values: the compensation needs a section without gaps.";

}  // namespace

double InertiaModel::curve(int32_t i) const
{
    const double tau = m - a, t = q - low, r = i / tau;
    return q - t * r * std::exp(1 - r);
}

std::optional<InertiaModel> FitInertia(Recording& rec, int slot, const CompensationSettings& s, VkDialogs& ui,
                                       double f5, double f4)
{
    const ChannelView channel(rec, slot);
    if (channel.interval() <= 0)
        return std::nullopt;
    const StoredSection section = StoredPart(channel, static_cast<int64_t>(std::trunc(f4 / channel.interval())),
                                             static_cast<int64_t>(std::trunc(f5 / channel.interval())));
    InertiaModel model;
    model.a = section.first;
    model.b = section.last;
    const int32_t n = model.b - model.a;
    if (n < 1)
        return std::nullopt;
    if (AnyMissing(rec, slot, model.a, int64_t{model.b} + 1)) {
        ui.message(GapsInSection, Severity::Warning);
        return std::nullopt;
    }
    if (n <= WorkshopLimit) {
        Workshop ws(rec, slot, model.a, model.b, ui);
        if (!ws.active())
            return std::nullopt;
        ws.SmoothCopy();  // only to find the level and the dip
        if (s.CompSurfaceReference)
            model.q = ws.Mean(n - 1 - n / 8, n - 1, ui);
        const auto& v = ws.values();
        const auto least = std::min_element(v.begin(), v.end());
        model.low = *least;
        model.m = model.a + static_cast<int32_t>(least - v.begin());
    } else {
        const ChannelSeries series(rec, slot);
        if (s.CompSurfaceReference) {
            double sum = 0;
            for (int32_t i = model.b - SurfaceSamples; i <= model.b; ++i)
                sum += series.read(i).value;
            model.q = sum / (SurfaceSamples + 1);
        }
        // The first least value, chunk by chunk.
        constexpr int32_t Chunk = 4096;
        ChunkValues values(rec, slot, Chunk, 0, 0);
        model.low = series.read(model.a).value;
        model.m = model.a;
        for (int32_t j0 = model.a; j0 <= model.b; j0 += Chunk) {
            const int32_t count = std::min(Chunk, model.b - j0 + 1);
            const double* v = values.load(j0, count);
            const double* least = std::min_element(v, v + count);
            if (*least < model.low) {
                model.low = *least;
                model.m = j0 + static_cast<int32_t>(least - v);
            }
        }
    }
    if (!(model.q - model.low >= s.CompAmplitude) || model.m == model.a)
        return std::nullopt;
    return model;
}

CommandResult CompensateInertia(ViewContext& cx, int slot, const CompensationSettings& s, bool& repeat,
                                CompensationPreview* preview, double f5, double f4)
{
    Recording& rec = cx.rec;
    if (RefuseWhilePolynomial(rec, cx.ui, slot, true))
        return {};
    const std::optional<InertiaModel> model = FitInertia(rec, slot, s, cx.ui, f5, f4);
    if (!model)
        return {};
    const PreviewCurve curve{slot, *model, s.CompInvertPreview};
    const Answer answer = preview ? preview->confirm(cx.ui, curve, repeat)
                                  : cx.ui.ask(CompensateQuestion, repeat ? Buttons::YesNoAbort : Buttons::YesNo);
    if (answer == Answer::Abort)
        repeat = false;
    if (answer != Answer::Yes)
        return redraw::Everything;  // the preview goes

    // The undo step holds every sample written, from the one before the section.
    const int32_t from = std::max(model->a - 1, ChannelView(rec, slot).firstStored());
    cx.undo.PushRange(UndoKind::Compensation, slot, from, model->b + 1, redraw::SampleEdit);
    // y - c(i) in chunks: c from the exponential carried along (exact at each chunk's start).
    const Calibration cal = ChannelView(rec, slot).calibration();
    const InertiaModel fit = *model;
    const double tau = fit.m - fit.a, t = fit.q - fit.low, decay = std::exp(-1 / tau);
    const Rescale toRaw{cal.offset, cal.b, 1 / cal.a};
    auto inside = std::make_shared<bool>(true);
    auto y = std::make_shared<std::vector<double>>();
    RewriteRaw(
        rec, slot, {fit.a, fit.b}, 0, 0,
        [=](const RawChunk& c, uint16_t* out) {
            y->resize(static_cast<std::size_t>(c.count));
            double* v = y->data();
            ValuesOfRaw(c.r, c.count, cal.a, cal.b, cal.offset, v);
            const int32_t i0 = c.x0 - fit.a;
            double e = std::exp(1 - i0 / tau);
            for (int32_t k = 0; k < c.count; ++k) {
                v[k] -= fit.q - t * ((i0 + k) / tau) * e;
                e = e > TinyPulse ? e * decay : 0.0;  // no denormal numbers: they are slow
            }
            *inside = RawOfValues(v, c.count, out, toRaw) && *inside;
        },
        cx.ui);
    if (!*inside)
        SetHint(rec, HintRangeExcess);  // values beyond the raw range were clamped
    rec.at(slot).ChannelModified = true;
    return {redraw::Everything, SampleChange{slot, from, int64_t{model->b} + 1, false}};
}

}  // namespace vk
