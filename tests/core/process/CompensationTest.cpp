#include <algorithm>
#include <cmath>

#include "ProcessFixture.h"
#include "core/process/Compensation.h"

namespace vk {

namespace {

using test::ProcessFixture;

// Records the curve it is shown and answers as told.
struct Preview : CompensationPreview {
    Answer answer = Answer::Yes;
    PreviewCurve shown;
    bool abortOffered = false;
    Answer confirm(VkDialogs&, const PreviewCurve& curve, bool offerAbort) override
    {
        shown = curve;
        abortOffered = offerAbort;
        return answer;
    }
};

struct CompensationFixture : ProcessFixture {
    // A dip of depth t, tau samples after a, over a level `level`: y = level - t (k / tau) e^(1 - k / tau).
    void dip(int32_t a, int32_t b, double level, double t, double tau)
    {
        for (int32_t i = a; i <= b; ++i) {
            const double k = (i - a) / tau;
            bool inside = true;
            WriteRaw(rec, i, PhysToRawOf(rec.desc(0), level - t * k * std::exp(1 - k), inside), 0);
        }
    }
    CommandResult compensate(const CompensationSettings& s, Preview* preview, int32_t a, int32_t b, bool& repeat)
    {
        CommandSteps steps(*undo);
        ViewContext cx{rec, view, ui, steps};
        return CompensateInertia(cx, 0, s, repeat, preview, b * double{Interval}, a * double{Interval});
    }
};

TEST_F(CompensationFixture, TheFittedPulseIsSubtractedOnYesOnly)
{
    dip(100, 500, 0.0, 3.0, 50);
    CompensationSettings s;
    s.CompAmplitude = 1;
    s.CompZeroReference = true;
    s.CompInvertPreview = true;
    const std::optional<InertiaModel> model = FitInertia(rec, 0, s, ui, 500 * double{Interval}, 100 * double{Interval});
    ASSERT_TRUE(model);
    EXPECT_NEAR(model->m, 150, 2);  // the dip, found on the smoothed copy (the bottom is flat in raw steps)
    EXPECT_NEAR(model->low, -3, 0.01);
    EXPECT_EQ(model->q, 0);

    // No: nothing changes and no step is left; Abort clears the repeat flag.
    const std::vector<uint16_t> before = words(0);
    Preview preview;
    bool repeat = false;
    preview.answer = Answer::No;
    compensate(s, &preview, 100, 500, repeat);
    EXPECT_EQ(words(0), before);
    EXPECT_EQ(undo->top(), 0);
    EXPECT_FALSE(preview.abortOffered);
    EXPECT_EQ(preview.shown.model.b, 500);
    EXPECT_NEAR(preview.shown.at(150), 3, 0.01);  // inverted
    repeat = true;
    preview.answer = Answer::Abort;
    compensate(s, &preview, 100, 500, repeat);
    EXPECT_TRUE(preview.abortOffered);
    EXPECT_FALSE(repeat);
    EXPECT_EQ(words(0), before);

    // Yes: y - c(i) over a .. b, the dip lifted to the level.
    std::vector<double> y = values(0);
    preview.answer = Answer::Yes;
    const CommandResult r = compensate(s, &preview, 100, 500, repeat);
    EXPECT_EQ(r.changed.bySlot[0].from, 99);
    EXPECT_EQ(r.changed.bySlot[0].to, 501);
    for (int32_t i = 100; i <= 500; ++i)
        ASSERT_NEAR(ReadValue(rec, i, 0).value, y[i] - model->curve(i - 100), 0.005 + 1e-9) << i;
    EXPECT_NEAR(ReadValue(rec, 150, 0).value, 0, 0.01);
    EXPECT_TRUE(rec.at(0).ChannelModified);
    ASSERT_TRUE(undo->Pop().undone);
    EXPECT_EQ(words(0), before);

    // The surface as reference: the mean of the last eighth; a long section is read directly.
    fill(9000);
    dip(0, 8999, 2.0, 3.0, 800);
    s.CompSurfaceReference = true;
    s.CompZeroReference = false;
    const std::optional<InertiaModel> surface = FitInertia(rec, 0, s, ui, 8999 * double{Interval}, 0);
    ASSERT_TRUE(surface);
    y = values(0);
    EXPECT_EQ(surface->m, std::min_element(y.begin(), y.end()) - y.begin());  // the first least value, unsmoothed
    double tail = 0;
    for (int32_t i = 8949; i <= 8999; ++i)
        tail += y[i];
    EXPECT_NEAR(surface->q, tail / 51, 1e-9);

    // Nothing to do: a dip smaller than the amplitude, a dip at F4, a polynomial applied.
    s.CompAmplitude = 10;
    EXPECT_FALSE(FitInertia(rec, 0, s, ui, 8999 * double{Interval}, 0));
    s.CompAmplitude = 1;
    EXPECT_FALSE(FitInertia(rec, 0, s, ui, 8999 * double{Interval}, 800 * double{Interval}));
    rec.desc(0).bApplyPolynom = true;
    rec.desc(0).Poly_A = 1;
    compensate(s, &preview, 0, 8999, repeat);
    EXPECT_EQ(ui.helpPages, std::vector<std::string>{"ErrPoly.rtf"});
    EXPECT_EQ(undo->top(), 0);
}

}  // namespace

}  // namespace vk
