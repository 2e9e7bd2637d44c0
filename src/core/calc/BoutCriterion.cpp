#include "core/calc/BoutCriterion.h"

#include <optimization.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numeric>

namespace vk {

namespace {

constexpr int MinClassCount = 5;          // pauses a class of the log-frequency picture holds at least
constexpr int FineClasses = 400;          // classes of equal width before small ones are joined
constexpr int MinStickPoints = 3;         // classes each line of the broken stick is drawn through
constexpr double OneProcessLimit = 9.21;  // twice the log-likelihood gain: χ² with 2 degrees, 1 %
constexpr double EdgeShare = 1e-4;        // a share p this close to 0 or 1 leaves one process
constexpr int MaxIterations = 1000;

// The parameters as the optimiser moves them: logit p, ln λs, ln(λf − λs).
struct Rates {
    double p, fast, slow;
};
Rates RatesOf(const double* x)
{
    const double slow = std::exp(x[1]);
    return {1.0 / (1.0 + std::exp(-x[0])), slow + std::exp(x[2]), slow};
}

// ln f(t) and the share of the fast process at t, without overflow for long pauses.
struct PointLikelihood {
    double logDensity, fastShare;
};
PointLikelihood At(const Rates& r, double t)
{
    const double a = std::log(r.p) + std::log(r.fast) - r.fast * t;
    const double b = std::log1p(-r.p) + std::log(r.slow) - r.slow * t;
    const double top = std::max(a, b);
    const double ea = std::exp(a - top), eb = std::exp(b - top);
    return {top + std::log(ea + eb), ea / (ea + eb)};
}

// The log-likelihood and its gradient in p, λf, λs.
double LogLikelihood(const std::vector<double>& t, const Rates& r, std::array<double, 3>* gradient)
{
    double sum = 0, dp = 0, df = 0, ds = 0;
    for (const double x : t) {
        const PointLikelihood l = At(r, x);
        sum += l.logDensity;
        const double w = l.fastShare;
        dp += w / r.p - (1 - w) / (1 - r.p);
        df += w * (1 / r.fast - x);
        ds += (1 - w) * (1 / r.slow - x);
    }
    if (gradient)
        *gradient = {dp, df, ds};
    return sum;
}

// The optimiser minimises −ln L over the free parameters.
void Objective(const alglib::real_1d_array& x, double& value, alglib::real_1d_array& grad, void* data)
{
    const auto& t = *static_cast<const std::vector<double>*>(data);
    const Rates r = RatesOf(x.getcontent());
    std::array<double, 3> g{};
    value = -LogLikelihood(t, r, &g);
    const double gap = r.fast - r.slow;
    grad[0] = -g[0] * r.p * (1 - r.p);
    grad[1] = -(g[1] + g[2]) * r.slow;
    grad[2] = -g[1] * gap;
}

// Classes of equal width up to the longest pause, small ones joined with their
// right neighbours until each holds MinClassCount pauses (the last with the one before).
std::vector<PauseClass> ClassesOf(const std::vector<double>& sorted)
{
    std::vector<PauseClass> classes;
    const double longest = sorted.back();
    if (!(longest > 0))
        return classes;
    const double width = longest / FineClasses;
    std::size_t k = 0;
    double from = 0;
    PauseClass open{0, 0, 0, 0};
    for (int c = 1; c <= FineClasses; ++c) {
        const double to = c == FineClasses ? longest : c * width;
        while (k < sorted.size() && (sorted[k] < to || c == FineClasses)) {
            ++open.count;
            ++k;
        }
        open.to = to;
        if (open.count >= MinClassCount) {
            classes.push_back(open);
            from = to;
            open = {from, from, 0, 0};
        }
    }
    if (open.count > 0) {
        if (classes.empty())
            classes.push_back(open);
        else {
            classes.back().to = open.to;
            classes.back().count += open.count;
        }
    }
    const double n = static_cast<double>(sorted.size());
    for (PauseClass& c : classes)
        c.logDensity = std::log(c.count / (n * (c.to - c.from)));
    return classes;
}

// The least-squares line y = a + b x through classes [first, last), weighted by their counts.
struct StickLine {
    double a = 0, b = 0, residual = 0;
};
StickLine LineThrough(const std::vector<PauseClass>& c, std::size_t first, std::size_t last)
{
    double w = 0, sx = 0, sy = 0;
    for (std::size_t k = first; k < last; ++k) {
        const double x = (c[k].from + c[k].to) / 2;
        w += c[k].count;
        sx += c[k].count * x;
        sy += c[k].count * c[k].logDensity;
    }
    const double mx = sx / w, my = sy / w;
    double sxx = 0, sxy = 0;
    for (std::size_t k = first; k < last; ++k) {
        const double dx = (c[k].from + c[k].to) / 2 - mx, dy = c[k].logDensity - my;
        sxx += c[k].count * dx * dx;
        sxy += c[k].count * dx * dy;
    }
    StickLine line;
    line.b = sxx > 0 ? sxy / sxx : 0;
    line.a = my - line.b * mx;
    for (std::size_t k = first; k < last; ++k) {
        const double e = c[k].logDensity - line.a - line.b * (c[k].from + c[k].to) / 2;
        line.residual += c[k].count * e * e;
    }
    return line;
}

// The broken stick: the split of the classes into two lines with the least
// residual whose slopes are two falling processes, the first the steeper.
bool BrokenStick(const std::vector<PauseClass>& c, Rates& start)
{
    double best = HUGE_VAL;
    for (std::size_t split = MinStickPoints; split + MinStickPoints <= c.size(); ++split) {
        const StickLine f = LineThrough(c, 0, split), s = LineThrough(c, split, c.size());
        if (!(f.b < s.b && s.b < 0) || f.residual + s.residual >= best)
            continue;
        best = f.residual + s.residual;
        // Each line is ln(share × λ) − λ t.
        const double fast = -f.b, slow = -s.b;
        const double fastShare = std::exp(f.a) / fast, slowShare = std::exp(s.a) / slow;
        start = {std::clamp(fastShare / (fastShare + slowShare), 0.01, 0.99), fast, slow};
    }
    return best < HUGE_VAL;
}

// A start for data without two visible lines: the short and the long half of the pauses.
Rates HalvesStart(const std::vector<double>& sorted)
{
    const std::size_t half = sorted.size() / 2;
    const double shortMean = std::accumulate(sorted.begin(), sorted.begin() + half, 0.0) / half;
    const double longMean = std::accumulate(sorted.begin() + half, sorted.end(), 0.0) / (sorted.size() - half);
    const double fast = 1 / std::max(shortMean, 1e-3);
    return {0.5, fast, std::min(1 / std::max(longMean, 1e-3), fast / 2)};
}

// The inverse of a symmetric 3 × 3 matrix; false when it is not positive definite.
bool InvertPositive(const std::array<std::array<double, 3>, 3>& m, std::array<std::array<double, 3>, 3>& inv)
{
    const double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const double c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const double c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const double det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    const double minor = m[0][0] * m[1][1] - m[0][1] * m[1][0];
    if (!(m[0][0] > 0 && minor > 0 && det > 0))
        return false;
    inv[0] = {c00 / det, (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det, (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det};
    inv[1] = {c01 / det, (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det, (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det};
    inv[2] = {c02 / det, (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det, (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det};
    return true;
}

// Standard errors from the observed information: the Hessian of −ln L in p, λf, λs
// by central differences of the gradient.
void StandardErrors(const std::vector<double>& t, BoutFit& fit)
{
    fit.pError = fit.fastError = fit.slowError = NAN;
    const std::array<double, 3> at{fit.p, fit.fast, fit.slow};
    std::array<std::array<double, 3>, 3> h{};
    for (int j = 0; j < 3; ++j) {
        const double step = 1e-5 * at[j];
        std::array<double, 3> up = at, down = at, gu{}, gd{};
        up[j] += step;
        down[j] -= step;
        if (up[0] >= 1 || down[2] <= 0 || up[2] >= down[1])
            return;
        LogLikelihood(t, {up[0], up[1], up[2]}, &gu);
        LogLikelihood(t, {down[0], down[1], down[2]}, &gd);
        for (int i = 0; i < 3; ++i)
            h[i][j] = -(gu[i] - gd[i]) / (2 * step);
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < i; ++j)
            h[i][j] = h[j][i] = (h[i][j] + h[j][i]) / 2;
    std::array<std::array<double, 3>, 3> cov{};
    if (!InvertPositive(h, cov))
        return;
    fit.pError = std::sqrt(cov[0][0]);
    fit.fastError = std::sqrt(cov[1][1]);
    fit.slowError = std::sqrt(cov[2][2]);
}

std::string Seconds(double s)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f s", s);
    return text;
}

BoutFit Refused(BoutFit fit, BoutFitStatus status, const std::string& why)
{
    fit.status = status;
    fit.message = why;
    return fit;
}

}  // namespace

double BoutFit::logFast(double t) const
{
    return std::log(p) + std::log(fast) - fast * t;
}

double BoutFit::logSlow(double t) const
{
    return std::log1p(-p) + std::log(slow) - slow * t;
}

BoutFit FitBoutCriterion(std::vector<double> pauses)
{
    // Sorted, the sums run in one order whatever order the pauses came in.
    std::sort(pauses.begin(), pauses.end());
    BoutFit fit;
    fit.pauses = static_cast<int>(pauses.size());
    const std::string count = std::to_string(pauses.size());
    if (pauses.size() < static_cast<std::size_t>(MinBoutFitPauses))
        return Refused(std::move(fit), BoutFitStatus::TooFew,
                       "Only " + count + " pauses between dives: a bout criterion needs at least " +
                           std::to_string(MinBoutFitPauses) + ".");
    fit.classes = ClassesOf(pauses);
    Rates start{};
    if (BrokenStick(fit.classes, start)) {
        fit.stickP = start.p;
        fit.stickFast = start.fast;
        fit.stickSlow = start.slow;
    } else {
        start = HalvesStart(pauses);
    }

    alglib::real_1d_array x;
    const double x0[] = {std::log(start.p / (1 - start.p)), std::log(start.slow), std::log(start.fast - start.slow)};
    x.setcontent(3, x0);
    alglib::minlbfgsstate state;
    alglib::minlbfgsreport report;
    alglib::minlbfgscreate(3, x, state);
    alglib::minlbfgssetcond(state, 1e-8, 0, 0, MaxIterations);
    alglib::minlbfgsoptimize(state, Objective, nullptr, &pauses);
    alglib::minlbfgsresults(state, x, report);
    const Rates r = RatesOf(x.getcontent());
    if (report.terminationtype <= 0 || report.terminationtype == 5 || !std::isfinite(r.fast) || !std::isfinite(r.p))
        return Refused(std::move(fit), BoutFitStatus::NoConvergence,
                       "The fit of two processes to the " + count + " pauses between dives did not converge.");
    fit.p = r.p;
    fit.fast = r.fast;
    fit.slow = r.slow;
    fit.logLikelihood = LogLikelihood(pauses, r, nullptr);

    // One exponential (its rate 1 / mean) against two: a second process must earn its two parameters.
    const double mean = std::accumulate(pauses.begin(), pauses.end(), 0.0) / pauses.size();
    const double one = mean > 0 ? -static_cast<double>(pauses.size()) * (std::log(mean) + 1) : HUGE_VAL;
    if (2 * (fit.logLikelihood - one) < OneProcessLimit || r.p < EdgeShare || r.p > 1 - EdgeShare)
        return Refused(std::move(fit), BoutFitStatus::OneProcess,
                       "No second process in the " + count +
                           " pauses between dives: one exponential describes them as well as two, so there is no "
                           "bout criterion to fit. Keep the bout pause set by hand.");
    fit.criterion = std::log(r.p * r.fast / ((1 - r.p) * r.slow)) / (r.fast - r.slow);
    if (!(fit.criterion > 0))
        return Refused(std::move(fit), BoutFitStatus::NoCrossing,
                       "The two processes fitted to the " + count +
                           " pauses between dives do not cross at a positive pause (the slow one is the likelier "
                           "everywhere): no bout criterion.");
    if (fit.criterion > pauses.back())
        return Refused(std::move(fit), BoutFitStatus::NoCrossing,
                       "The two processes fitted to the " + count + " pauses between dives cross at " +
                           Seconds(fit.criterion) + ", beyond the longest pause (" + Seconds(pauses.back()) +
                           "): no bout criterion.");
    StandardErrors(pauses, fit);
    fit.status = BoutFitStatus::Fitted;
    return fit;
}

const char* BoutFitStatusWord(BoutFitStatus s)
{
    switch (s) {
    case BoutFitStatus::Fitted: return "fitted";
    case BoutFitStatus::TooFew: return "too few";
    case BoutFitStatus::OneProcess: return "one process";
    case BoutFitStatus::NoConvergence: return "no convergence";
    case BoutFitStatus::NoCrossing: return "no crossing";
    }
    return "";
}

int BoutPauseOf(const BoutFit& fit)
{
    return std::max(1, static_cast<int>(std::lround(std::min(fit.criterion, 2e9))));
}

}  // namespace vk
