#include "core/store/UndoKind.h"

#include <array>
#include <stdexcept>

namespace vk {

namespace {

using K = UndoKind;
constexpr bool Y = true, N = false;

// Steps below the descriptor kinds (stored numbers under 128) keep the view
// and the displayed range; a derived channel keeps its range too.
constexpr std::array<UndoKindInfo, 29> Kinds{{
    // kind                 caption          view range samples image moves gaps
    {K::Spline,            " Spline",        Y,   Y,    Y,      N,    N,    Y},
    {K::View,              " Zoom",          Y,   Y,    N,      N,    N,    N},
    {K::Expand,            " Expand",        Y,   Y,    N,      Y,    Y,    Y},
    {K::SingleValue,       " sing. val.",    Y,   Y,    Y,      N,    N,    Y},
    {K::ClockDrift,        " Clockdrft",     Y,   Y,    N,      Y,    Y,    Y},
    {K::Reduce,            " Reduce",        Y,   Y,    N,      Y,    Y,    Y},
    {K::Smooth,            "  Smooth",       Y,   Y,    Y,      N,    N,    N},
    {K::Replace,           "  Repl<0",       Y,   Y,    Y,      N,    N,    N},
    {K::Peaks,             " ElimPeak",      Y,   Y,    Y,      N,    N,    N},
    {K::Extremes,          " ElimExtr",      Y,   Y,    Y,      N,    N,    N},
    {K::NegativeToZero,    " Skip<0",        Y,   Y,    Y,      N,    N,    N},
    {K::DeletedSamples,    " Del pnts",      Y,   Y,    Y,      N,    N,    N},
    {K::Add,               " Add",           Y,   Y,    Y,      N,    N,    N},
    {K::Divide,            " Div",           Y,   Y,    Y,      N,    N,    N},
    {K::Multiply,          " Mult",          Y,   Y,    Y,      N,    N,    N},
    {K::Ramp,              " Ramp",          Y,   Y,    Y,      N,    N,    N},
    {K::Equalize,          " Ramp",          Y,   Y,    Y,      N,    N,    N},
    {K::Constant,          " Set const",     Y,   Y,    Y,      N,    N,    N},
    {K::Sine,              " sin",           Y,   Y,    Y,      N,    N,    N},
    {K::Cosine,            " cos",           Y,   Y,    Y,      N,    N,    N},
    {K::Compensation,      " Compensation",  Y,   Y,    Y,      N,    N,    N},
    {K::SectionOverwrite,  " SecOvwr.",      Y,   Y,    Y,      N,    N,    N},
    {K::DiveAnalysis,      "",               Y,   Y,    N,      N,    N,    N},
    {K::Polynomial,        " Polynom.",      Y,   Y,    N,      N,    N,    N},
    {K::Baseline,          " baselne",       N,   N,    N,      N,    N,    N},
    {K::Calibration,       " Arithm.",       N,   N,    N,      N,    N,    N},
    {K::InsertPoints,      " Ins. pnt",      N,   N,    N,      N,    Y,    Y},
    {K::DeletePoints,      " Del. pnt",      N,   N,    N,      N,    Y,    Y},
    {K::Derived,           " Bi-Chnl",       N,   Y,    N,      N,    N,    Y},
}};

}  // namespace

const UndoKindInfo& Describe(UndoKind kind)
{
    for (const UndoKindInfo& info : Kinds)
        if (info.kind == kind)
            return info;
    throw std::invalid_argument("undo kind " + std::to_string(UndoNumber(kind)) + " is not in the table");
}

}  // namespace vk
