#!/usr/bin/env python3
"""Fits the design parameters of the three interpolation kernels.

Each kernel is a Kaiser-windowed two-step ideal low-pass, in string steps t:

    h(t) = (g1 * 2 f1 sinc(2 f1 t) + g2 * 2 f2 sinc(2 f2 t)) * kaiser(t / W, beta)

i.e. an ideal response of g1 + g2 up to f1 and a shelf of g2 from f1 to f2 (cutoffs in
cycles per step), so that a short window can still fall steeply from the band edge to half
the step rate. The six parameters (g1, f1, g2, f2, beta, W) of each kernel are fitted so that
the kernel meets its response targets and stays down by its stated attenuation over the
whole stop band, from half the step rate up: whatever passes there folds back into the sound
as inharmonic tones. Among such kernels the one closest to its telling entries is preferred,
with the power it lets through from half the step rate to twice it as low as it can be; the
stop band wins over the entries, which may move by a few hundredths.

The preview kernel is too short to hold 47 dB over its whole stop band with its -3 dB point
at 0.298 of the step rate: it moves to 0.2895, within a hundredth, and its window becomes
nearly rectangular.

Usage: python3 scripts/fit-interpolation-kernels.py [preview|low|high ...]
It refines from the recorded parameters (the best of earlier runs from random starts) and
prints the constants for engine/interpolation_kernel.cpp. Pure Python; a run takes minutes.
"""

import math
import sys

SAMPLES_PER_STEP = 32  # enough to measure the response up to several times the step rate

# Where the stop band is measured: finely near its edge, where the side lobes are highest.
STOP_BAND = [0.5 + 0.005 * i for i in range(301)] + [2.0 + 0.05 * i for i in range(1, 81)]
FOLDED = STOP_BAND[:301]

KERNELS = {
    "preview": dict(
        half_span=384 / 106, peak=0.715095, dc_gain=1.007, flat_up_to=0.2, minus3db=0.298,
        attenuation=47, corner_margin=0.0092,
        telling=[0.715095, 0.574916, 0.260918, -0.009597, -0.103614, -0.061802, -0.011261,
                 0.000115],
        start=[0.723428, 0.289330, 0.336662, 0.426005, 0.029082, 3.531287]),
    "low": dict(
        half_span=2735 / 452, peak=0.735875, dc_gain=1.022, flat_up_to=0.3, minus3db=0.338,
        attenuation=49, corner_margin=0.003,
        telling=[0.735875, 0.573141, 0.212975, -0.079229, -0.148689, -0.053860, 0.048175,
                 0.069444],
        start=[0.647651, 0.336543, 0.384677, 0.418377, 2.002471, 5.991565]),
    "high": dict(
        half_span=28675 / 2200, peak=0.802304, dc_gain=0.980, flat_up_to=0.35, minus3db=0.383,
        attenuation=61, corner_margin=0.003,
        telling=[0.802304, 0.606604, 0.184519, -0.127953, -0.153567, -0.003519, 0.097060,
                 0.056192],
        start=[0.620202, 0.389231, 0.365246, 0.426248, 2.747525, 12.953658]),
}

# Margins inside the stated targets that the fit keeps.
DC_GAIN_MARGIN = 0.006
STOP_BAND_MARGIN = 0.3  # dB


def bessel_i0(x):
    term, total, k = 1.0, 1.0, 1
    while term > 1e-17 * total:
        term *= (x / (2 * k)) ** 2
        total += term
        k += 1
    return total


def kernel_function(params):
    g1, f1, g2, f2, beta, half_width = params
    window_norm = bessel_i0(beta)

    def lowpass(gain, cutoff, t):
        return gain * 2 * cutoff if t == 0 else gain * math.sin(2 * math.pi * cutoff * t) / (
            math.pi * t)

    def h(t):
        u = t / half_width
        if abs(u) >= 1:
            return 0.0
        window = bessel_i0(beta * math.sqrt(1 - u * u)) / window_norm
        return (lowpass(g1, f1, t) + lowpass(g2, f2, t)) * window

    return h


def measure(kernel, params):
    """Returns the kernel's telling entries and response figures (dB relative to DC)."""
    half_width = params[5]
    h = kernel_function(params)
    dt = 1.0 / SAMPLES_PER_STEP
    samples = [h(k * dt) for k in range(int(half_width * SAMPLES_PER_STEP) + 1)]

    def response(f):
        w = 2 * math.pi * f * dt
        return dt * (samples[0] + 2 * sum(s * math.cos(w * k) for k, s in enumerate(samples)
                                          if k > 0))

    dc = response(0)

    def db(f):
        return 20 * math.log10(max(abs(response(f)) / abs(dc), 1e-12))

    low, high = 0.2, 0.5
    for _ in range(16):
        mid = (low + high) / 2
        low, high = (mid, high) if db(mid) > -3 else (low, mid)
    telling = [h(0.5 * i) for i in range(8)]
    return dict(
        dc=dc, minus3db=low, attenuation=-db(0.5),
        stop_band=min(-db(f) for f in STOP_BAND),
        folded=10 * math.log10(sum((response(f) / dc) ** 2 for f in FOLDED) / len(FOLDED)),
        ripple=max(abs(db(kernel["flat_up_to"] * i / 10)) for i in range(11)),
        telling=telling,
        deviation=max(abs(a - b) for a, b in zip(telling, kernel["telling"])))


def cost(kernel, params):
    if not (1.5 <= params[5] <= kernel["half_span"] and 0 <= params[4] <= 20):
        return 1e9
    m = measure(kernel, params)
    violation = (max(0, abs(m["dc"] - kernel["dc_gain"]) - DC_GAIN_MARGIN) * 300
                 + max(0, abs(m["minus3db"] - kernel["minus3db"]) - kernel["corner_margin"]) * 300
                 + max(0, kernel["attenuation"] + STOP_BAND_MARGIN - m["stop_band"]) * 3
                 + max(0, m["ripple"] - 0.9) * 10)
    return violation + m["deviation"] + m["folded"] / 100


def nelder_mead(f, x0, steps, iterations):
    n = len(x0)
    points = [list(x0)] + [[x + (s if i == j else 0) for j, (x, s) in enumerate(zip(x0, steps))]
                           for i in range(n)]
    values = [f(p) for p in points]
    for _ in range(iterations):
        order = sorted(range(n + 1), key=values.__getitem__)
        points, values = [points[i] for i in order], [values[i] for i in order]
        centre = [sum(p[j] for p in points[:-1]) / n for j in range(n)]

        def towards(scale):
            return [c + scale * (c - w) for c, w in zip(centre, points[-1])]

        reflected = towards(1)
        fr = f(reflected)
        if fr < values[0]:
            expanded = towards(2)
            fe = f(expanded)
            points[-1], values[-1] = (expanded, fe) if fe < fr else (reflected, fr)
        elif fr < values[-2]:
            points[-1], values[-1] = reflected, fr
        else:
            contracted = towards(-0.5)
            fc = f(contracted)
            if fc < values[-1]:
                points[-1], values[-1] = contracted, fc
            else:
                best = points[0]
                points = [best] + [[b + 0.5 * (x - b) for b, x in zip(best, p)]
                                   for p in points[1:]]
                values = [values[0]] + [f(p) for p in points[1:]]
    best = min(range(n + 1), key=values.__getitem__)
    return points[best]


def main(names):
    steps = [0.02, 0.004, 0.02, 0.004, 0.3, 0.1]
    for name in names:
        kernel = KERNELS[name]
        params = nelder_mead(lambda p: cost(kernel, p), kernel["start"], steps, 1500)
        m = measure(kernel, params)
        print(f"{name}: {', '.join(f'{p:.6f}' for p in params)}")
        print(f"  dc {m['dc']:.4f}  -3 dB {m['minus3db']:.4f}  at 0.5 {m['attenuation']:.1f} dB"
              f"  stop band {m['stop_band']:.1f} dB (folded {m['folded']:.1f})"
              f"  ripple {m['ripple']:.2f} dB"
              f"  telling deviation {m['deviation']:.4f}")


if __name__ == "__main__":
    main(sys.argv[1:] or list(KERNELS))
