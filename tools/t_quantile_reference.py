#!/usr/bin/env python3
"""Reference quantiles of Student's t distribution, for the literal values in the tests.

Computed independently of the C++ code: 60-digit decimal arithmetic, the log-gamma function
from Stirling's series with exact Bernoulli numbers, the regularized incomplete beta function
from its hypergeometric power series, and plain bisection. Needs only the standard library.

    tools/t_quantile_reference.py            # the table used by tests/stand/student_t_test.cpp
    tools/t_quantile_reference.py P DF ...   # any quantile, e.g. 0.975 2.5 or 0.975 50/41
"""
import sys
from decimal import Decimal as D, getcontext
from fractions import Fraction

getcontext().prec = 60
PI = D("3.14159265358979323846264338327950288419716939937510582097494459")


def bernoulli(count):
    """B_0..B_count as fractions (Akiyama-Tanigawa), with B_1 = +1/2 (unused here)."""
    out, a = [], [Fraction(0)] * (count + 1)
    for m in range(count + 1):
        a[m] = Fraction(1, m + 1)
        for j in range(m, 0, -1):
            a[j - 1] = j * (a[j - 1] - a[j])
        out.append(a[0])
    return out


B = bernoulli(60)


def lgamma(z):
    shift = D(0)
    while z < 60:
        shift += z.ln()
        z += 1
    s = (z - D("0.5")) * z.ln() - z + (2 * PI).ln() / 2
    for k in range(1, 30):
        b = B[2 * k]
        s += D(b.numerator) / D(b.denominator) / (2 * k * (2 * k - 1) * z ** (2 * k - 1))
    return s - shift


def inc_beta(x, a, b):
    """I_x(a, b) for 0 <= x < 1 by sum_n (a+b)_n / (a+1)_n x^n."""
    if x == 0:
        return D(0)
    front = (a * x.ln() + b * (1 - x).ln() + lgamma(a + b) - lgamma(a) - lgamma(b)).exp() / a
    total, term, n = D(1), D(1), 0
    while True:
        term = term * (a + b + n) / (a + 1 + n) * x
        total += term
        n += 1
        if abs(term) < D(10) ** -58 * total:
            return front * total


def upper_tail(t, df):
    """P(T > t) for t >= 0."""
    x = df / (df + t * t)
    if x < D("0.5"):
        return inc_beta(x, df / 2, D("0.5")) / 2
    return (1 - inc_beta(t * t / (df + t * t), D("0.5"), df / 2)) / 2


def number(text):
    """The double nearest a decimal or a fraction such as 50/41, exactly as the C++ test holds
    it, so that the reference answers the very question the code is asked."""
    return D(float(Fraction(text)))


def quantile(p, df):
    p, df = number(p), number(df)
    if p < D("0.5"):
        return -quantile(1 - p, df)
    q = 1 - p
    lo, hi = D(0), D(1)
    while upper_tail(hi, df) > q:
        hi *= 2
    for _ in range(220):
        mid = (lo + hi) / 2
        if upper_tail(mid, df) > q:
            lo = mid
        else:
            hi = mid
    return (lo + hi) / 2


TABLE = [("0.975", d) for d in ["1", "2", "3", "4", "5", "10", "30", "100", "2.5", "7.3",
                                "50/41", "169/97", "1000", "100000"]]
TABLE += [("0.975", d) for d in ["200", "500", "2000", "1000000"]]
TABLE += [("0.9999", d) for d in ["200", "1000", "2000", "5000", "100000"]]
TABLE += [("0.995", "3"), ("0.9", "6"), ("0.6", "2.5"), ("0.025", "7.3"), ("0.999999", "1.5"),
          ("0.99", "0.5"), ("0.75", "0.2")]

if __name__ == "__main__":
    args = sys.argv[1:]
    pairs = list(zip(args[0::2], args[1::2])) if args else TABLE
    for p, df in pairs:
        print(f"t({p}; {df}) = {quantile(p, df):.20f}")
