#pragma once

// Compensation of sensor inertia: a sluggish depth sensor leaves a slow dip
// after a dive. A pulse-shaped response curve is fitted to the dip in the
// work section, shown over the channel, and on confirmation subtracted.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/setup/Settings.h"
#include "core/store/VkDialogs.h"
#include "core/view/Command.h"

namespace vk {

// The fitted model of the section a .. b: reference level q, dip `low` at
// index m; c(i) = q - t (i / tau) e^(1 - i / tau), t = q - low, tau = m - a.
struct InertiaModel {
    int32_t a = 0, b = 0, m = 0;
    double q = 0, low = 0;
    double curve(int32_t i) const;
};

// The response curve as the preview shows it over the channel, at indexes
// a .. b (negated when the settings ask for an inverted preview).
struct PreviewCurve {
    int slot = 0;
    InertiaModel model;
    bool inverted = false;
    double at(int32_t index) const { return (inverted ? -1 : 1) * model.curve(index - model.a); }
};

// The question, and where the window places it: at this share of its width
// and height, beside the curve it asks about.
inline constexpr const char* CompensateQuestion = " Compensate?";
inline constexpr double QuestionPlace = 0.8;

// Where the window draws the curve over the channel while it asks the question.
class CompensationPreview {
public:
    virtual ~CompensationPreview() = default;
    virtual Answer confirm(VkDialogs& ui, const PreviewCurve& curve, bool offerAbort) = 0;
};

// The model of the section F4 .. F5, or nothing (a section too short, a dip
// smaller than the amplitude or at F4).
std::optional<InertiaModel> FitInertia(Recording& rec, int slot, const CompensationSettings& s, VkDialogs& ui,
                                       double f5, double f4);

// The single compensation of the section F4 .. F5: the curve is shown and,
// on Yes, subtracted from the channel's values (one undo step, kind
// UndoKind::Compensation). Abort (offered while `repeat` is set) clears `repeat`.
// Without a preview the question goes to the seam. Refused (the polynomial
// page) while the channel's values cannot be written back as read.
CommandResult CompensateInertia(ViewContext& cx, int slot, const CompensationSettings& s, bool& repeat,
                                CompensationPreview* preview, double f5, double f4);

}  // namespace vk
