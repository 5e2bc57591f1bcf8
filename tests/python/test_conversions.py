"""The filter conversions are the library's own results: the values worked
out for the module's filters, and the formulas over a sweep of pairs."""

import itertools
import math

import pytest

import orvex
import oracle

SQRT3_HALF = oracle.float32(math.sqrt(3.0) * 0.5)

KNOWN = [
    ("lpf_frequency(4, 2)", 15915.494140625),
    ("flt_frequency(4, 2)", oracle.float32(318.3098861837907)),
    ("damping(4, 2)", 1.0),
    ("lpf_frequency(0, 1)", 15915.494140625),
    ("damping(0, 1)", 0.0),
    ("lpf_frequency(2, 1)", 0.0),
    ("damping(2, 1)", 0.0),
    ("lpf_frequency(0, 0)", 0.0),
    ("flt_frequency(65535, 15)", 0.0),
    ("damping(65535, 15)", 0.0),
    ("round(lpf_frequency(108, 10), 3)", 511.279),
    ("round(flt_frequency(108, 10), 3)", 10.226),
    ("round(damping(108, 10), 2)", 0.87),
    ("lpf_alpha(2, SQRT3_HALF)", 4),
    ("lpf_alpha(10, SQRT3_HALF)", 108),
    ("flt_alpha(24, SQRT3_HALF)", 14186),
    ("flt_alpha(1, SQRT3_HALF)", 2),
    ("lpf_alpha(0, 0.5)", 0),
    ("lpf_alpha(10, -1)", 0),
    ("lpf_alpha(10, float('nan'))", 0),
    ("lpf_alpha(24, 5)", 65535),
    ("round(hpf_frequency(0), 3)", 15915.494),
    ("round(hpf_frequency(1), 3)", 7957.747),
    ("round(hpf_frequency(20), 7)", 0.0151782),
]


@pytest.mark.parametrize("expression, expected", KNOWN)
def test_a_conversion_gives_the_known_value(expression, expected):
    scope = {name: getattr(orvex, name) for name in orvex.__all__}
    scope["SQRT3_HALF"] = SQRT3_HALF
    assert eval(expression, scope) == expected


PAIRS = list(itertools.product([0, 1, 2, 4, 108, 1000, 14186, 40000, 65535], range(0, 32)))


def test_frequencies_and_damping_follow_the_formulas_for_every_beta():
    for alpha, beta in PAIRS:
        assert orvex.lpf_frequency(alpha, beta) == oracle.frequency(oracle.LPF_RATE, alpha, beta)
        assert orvex.flt_frequency(alpha, beta) == oracle.frequency(oracle.FLT_RATE, alpha, beta)
        assert orvex.damping(alpha, beta) == oracle.damping(alpha, beta)


def test_hpf_frequency_follows_its_formula_for_every_tau():
    for tau in range(32):
        assert orvex.hpf_frequency(tau) == oracle.hpf_frequency(tau)


def test_alpha_is_the_nearest_integer_to_the_inverse_of_the_damping():
    for beta in range(0, 25):
        for wanted in (0.1, 0.5, SQRT3_HALF, 1.0, 2.0):
            d = oracle.float32(wanted)
            exact = 4 * d * (math.sqrt(2.0**beta + d * d - 1) - d)
            assert orvex.lpf_alpha(beta, wanted) == int(exact + 0.5)
            assert orvex.flt_alpha(beta, wanted) == int(exact + 0.5)


@pytest.mark.parametrize(
    "call, error",
    [
        ("lpf_frequency(65536, 2)", ValueError),
        ("flt_frequency(-1, 2)", ValueError),
        ("damping(4, 256)", ValueError),
        ("lpf_alpha(-1, 0.5)", ValueError),
        ("hpf_frequency(256)", ValueError),
        ("lpf_frequency(4.0, 2)", TypeError),
        ("lpf_alpha(2, '0.5')", TypeError),
    ],
)
def test_arguments_the_c_types_cannot_hold_are_refused(call, error):
    scope = {name: getattr(orvex, name) for name in orvex.__all__}
    with pytest.raises(error):
        eval(call, scope)
