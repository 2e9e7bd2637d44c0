#pragma once

// The bout-ending criterion fitted to the pauses between dives. The pauses of
// a diving animal mix short ones within bouts and long ones between them; two
// exponential processes describe them,
//     f(t) = p·λf·e^(−λf·t) + (1−p)·λs·e^(−λs·t),   λf > λs > 0,
// fitted by maximum likelihood on the pauses themselves, starting from the
// "broken stick" (two straight lines through the log-frequencies). The
// criterion is where the two processes are equally likely:
//     BEC = ln(p·λf / ((1−p)·λs)) / (λf − λs).
// Only two processes are fitted.

#include <string>
#include <vector>

namespace vk {

enum class BoutFitStatus { Fitted, TooFew, OneProcess, NoConvergence, NoCrossing };

// One class of the log-frequency picture: the pauses from `from` to `to` seconds.
struct PauseClass {
    double from = 0, to = 0;
    int count = 0;
    double logDensity = 0;  // ln(count / (all pauses × width)), comparable with ln f(t)
};

struct BoutFit {
    BoutFitStatus status = BoutFitStatus::TooFew;
    std::string message;                              // why there is no criterion; empty when fitted
    int pauses = 0;                                   // the pauses the fit had
    double p = 0, fast = 0, slow = 0;                 // p, λf, λs (1/s)
    double pError = 0, fastError = 0, slowError = 0;  // standard errors; NaN where the Hessian gives none
    double logLikelihood = 0;
    double criterion = 0;  // BEC (s)
    // The broken stick the fit started from (also the picture's first guess).
    double stickP = 0, stickFast = 0, stickSlow = 0;
    std::vector<PauseClass> classes;  // of the pauses, for the log-frequency picture

    bool fitted() const { return status == BoutFitStatus::Fitted; }
    // ln of the fast and the slow process at t seconds, as the picture draws them.
    double logFast(double t) const;
    double logSlow(double t) const;
};

constexpr int MinBoutFitPauses = 20;

// The fit to `pauses` (seconds, each at least 0; their order does not matter).
BoutFit FitBoutCriterion(std::vector<double> pauses);

// A status in one word for tables: "fitted", "too few", "one process", "no convergence", "no crossing".
const char* BoutFitStatusWord(BoutFitStatus s);

// The criterion as the bout pause takes it: whole seconds, at least 1.
int BoutPauseOf(const BoutFit& fit);

}  // namespace vk
