"""Potential steps, potential programs, AC voltammetry and impedance from Python, against their
textbook values."""

import math

import numpy as np
import pytest

import qalto

# The program's constants and default temperature (25 C): RT = 2478.86 J/mol.
F, RT = 96484.6, 8.31441 * 298.14
D, C, AREA = 1e-5, 1e-6, 1.0  # the default couple: cm2/s, mol/cm3 (1 mM), cm2


def randles(f, Ru, Cd, ks):
    """Ru in series with Cd parallel to Rct and the Warburg element, at E1/2 of 1 mM A."""
    w = 2 * math.pi * f
    sigma = 2 * math.sqrt(2) * RT / (F**2 * AREA * C * math.sqrt(D))
    Rct = RT / (F**2 * AREA * ks * C / 2)
    faradaic = Rct + sigma / np.sqrt(w) * (1 - 1j)
    return Ru + 1 / (1j * w * Cd + 1 / faradaic)


@pytest.mark.parametrize("ks", [1e4, 1e-3])
def test_impedance_is_the_randles_circuit(ks):
    result = qalto.Experiment(technique="impedance", mode="digital", E_dc=0.1, E0=0.1, ks=ks,
                              Ru=50, Cd=2e-5, f_from=1e5, f_to=1e-3, points_per_decade=2,
                              controls={"FormExpr.CheckPreEqu": "off"}).simulate()
    assert len(result.frequency) == 17
    assert result.frequency[0] == pytest.approx(1e5) and result.frequency[-1] == pytest.approx(1e-3)
    np.testing.assert_allclose(result.impedance, randles(result.frequency, 50, 2e-5, ks),
                               rtol=1e-4)


def test_ac_voltammogram_fundamental_peaks_at_the_half_wave_potential():
    amplitude, f = 0.005, 10.0
    result = qalto.Experiment(technique="ac_voltammetry", mode="digital", E0=0.1,
                              amplitude=amplitude, frequency=f).simulate()
    assert result.harmonics.shape == (len(result.current), 9)
    first = result.harmonics[:, 1]
    top = int(np.argmax(first))
    # column 1, the fundamental, peaks at E1/2 (its height, Smith's: scenario ac_voltammetry)
    assert result.potential[top] == pytest.approx(0.1, abs=1e-3)
    lines = result.spectrum_frequency > 0.5 * f
    strongest = result.spectrum_frequency[lines][np.argmax(result.spectrum_power[lines])]
    assert strongest == pytest.approx(f, rel=0.01)
    assert np.all(np.diff(result.time) > 0)


def test_program_of_two_sweeps_is_the_cyclic_voltammogram():
    cv = qalto.Experiment(technique="cv", mode="digital", scan_rate=0.1, E_step=0.001,
                          E_start=0.3, E_end=-0.3).simulate()
    program = qalto.Experiment(technique="potential_program", mode="digital", t_sample=0.01,
                               program=[("sweep", 0.3, -0.3, 0.1),
                                        ("sweep", -0.3, 0.3, 0.1)]).simulate()
    assert len(program.current) == len(cv.current)
    np.testing.assert_allclose(program.current, cv.current, rtol=0,
                               atol=1e-9 * np.max(np.abs(cv.current)))
    np.testing.assert_allclose(program.time, cv.time, rtol=1e-12)


@pytest.mark.parametrize("segments, text", [
    ([("loop", 1)], "segment 1: ('loop', 1) is not"),
    ([("sweep", 0.3, -0.3)], "segment 1: ('sweep', 0.3, -0.3) is not"),
    ([("hold", 0.1, 1)] * 13, "at most 12 segments, not 13"),
])
def test_malformed_programs_are_refused(segments, text):
    with pytest.raises(qalto.QaltoError, match=text.replace("(", r"\(").replace(")", r"\)")):
        qalto.Experiment(technique="program", program=segments)


def test_a_measured_spectrum_reads_with_its_impedance(tmp_path):
    table = tmp_path / "spectrum.csv"
    table.write_text("Frequency (Hz);Z' (Ohm);-Z'' (Ohm)\n1000;50.5;2.25\n0.1;120;95\n")
    [curve] = qalto.read(table)
    np.testing.assert_array_equal(curve.frequency, [1000, 0.1])
    np.testing.assert_array_equal(curve.impedance, [50.5 - 2.25j, 120 - 95j])
    voltammogram = tmp_path / "cv.txt"
    voltammogram.write_text("0.1,1e-6\n0.2,2e-6\n0.3,4e-6\n")
    [curve] = qalto.read(voltammogram)
    assert curve.impedance is None and curve.frequency is None


def test_a_double_step_applies_E1_then_E2():
    result = qalto.Experiment(technique="chronoamperometry", mode="digital", E_start=0.5,
                              E1=-0.3, t1=0.5, E2=0.5, t2=0.3, t_sample=0.01).simulate()
    assert len(result.time) == 80
    np.testing.assert_allclose(result.time[[49, 50, 79]], [0.5, 0.51, 0.8])
    np.testing.assert_array_equal(result.potential[[0, 49, 50, 79]], [-0.3, -0.3, 0.5, 0.5])
    # the second step takes back part of the charge the first passed
    assert 0 < result.charge[79] < result.charge[49]
