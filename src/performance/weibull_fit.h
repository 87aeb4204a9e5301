#pragma once

// The Weibull distribution that best describes measured wind speeds, fitted
// two ways side by side:
//
// - by maximum likelihood, as C. Seguro and T. W. Lambert, "Modern
//   estimation of the parameters of the Weibull wind speed distribution for
//   wind energy analysis", J. Wind Eng. Ind. Aerodyn. 85 (2000) 75-84, give
//   it for a series and for a frequency distribution: k solves
//   Σ w vᵏ ln v / Σ w vᵏ − 1/k − Σ w ln v / Σ w = 0, then
//   c = (Σ w vᵏ / Σ w)^(1/k), each speed v weighted by its records or hours w;
// - by the method of moments, after C. G. Justus, W. R. Hargraves, A. Mikhail
//   and D. Graber, "Methods for estimating wind speed frequency
//   distributions", J. Appl. Meteorol. 17 (1978) 350-353: k such that the
//   Weibull's spread σ/v̄ is the measured one,
//   Γ(1 + 2/k) / Γ(1 + 1/k)² = 1 + (σ/v̄)², solved exactly (their closed form
//   k = (σ/v̄)^−1.086 is within about 1 % of it), then c = v̄ / Γ(1 + 1/k).
//
// Calms (0 m/s) have no logarithm: both fits are of the speeds above calm,
// and the calms' share of the time is kept apart beside them, the hybrid
// distribution of E. S. Takle and J. M. Brown, "Note on the use of Weibull
// statistics to characterize wind-speed data", J. Appl. Meteorol. 17
// (1978) 556-559: P(V ≤ v) = f₀ + (1 − f₀)(1 − exp(−(v/c)ᵏ)).

#include "result.h"
#include "wind_series.h"

#include <vector>

namespace tivora::performance {

struct WeibullFit {
    double shape = 2;        // k
    double scaleMps = 0;     // c
    double meanMps() const;  // c Γ(1 + 1/k)
};

struct SiteWindFit {
    WeibullFit likelihood;  // Seguro and Lambert
    WeibullFit moments;     // Justus et al.
    double calmShare = 0;   // of the weight at 0 m/s
};

// Both fits of the speeds above calm. A Problem (SiteNotUsable) where fewer
// than two different speeds blow, or no shape from 0.05 to 100 fits.
Result<SiteWindFit> fitWeibull(const std::vector<WeightedSpeed>& speeds);

}  // namespace tivora::performance
