"""Simulations from Python: the same numbers as qalto-batch, arrays, threads, noise, errors
(the textbook peaks are checked in tests/simulation and tests/digital)."""

from concurrent.futures import ThreadPoolExecutor

import numpy as np
import pytest

import qalto

F, R = 96485.33212, 8.314462618


def batch_curve(batch, tmp_path, script, *options):
    out = tmp_path / "curves.csv"
    done = batch(script, "--out", str(out), *options)
    assert done.returncode == 0, done.stderr
    table = np.loadtxt(out, delimiter=",", skiprows=1)
    return table[:, 0], table[:, 1]


@pytest.mark.parametrize("mode", ["analytical", "digital"])
def test_cv_equals_batch_to_the_last_digit(batch, tmp_path, mode):
    # the program starts in digital mode; a click on the box turns it to analytical
    analytical = "click FormMech.CheckDigital\n" if mode == "analytical" else ""
    script = ("menu mnuMechamism\n" + analytical + "click FormMech.Command1\n"
              "menu mnuInstrument\nselect FormIns.ComboScan cycle\nset FormIns.V 0.1\n"
              "click FormIns.cmdOK\nmenu mnuExperimental\nset FormExpr.ks(1) 0.003\n"
              "menu mnuSimulate\n")
    potential, current = batch_curve(batch, tmp_path, script)
    result = qalto.Experiment(technique="cv", mode=mode, scan_rate=0.1, ks=0.003).simulate()
    np.testing.assert_array_equal(result.potential, potential)
    np.testing.assert_array_equal(result.current, current)


def test_times_and_surface_concentrations_follow_the_run():
    result = qalto.Experiment(technique="cv", mode="digital", scan_rate=0.05,
                              E_step=0.002).simulate(concentrations=True)
    assert np.allclose(np.diff(result.time), 0.002 / 0.05)
    assert result.time.shape == result.potential.shape == result.current.shape
    c = result.surface_concentrations
    assert c.shape == (result.potential.size, 2)
    assert np.allclose(c.sum(axis=1), 1e-3, rtol=1e-3)  # equal D: A + B stays C bulk


def test_reactions_written_as_text_in_digital_mode():
    ec = qalto.Experiment(technique="cv", mode="digital", reactions=["A + e = B", "B = C"],
                          kf=[1.0], kb=[0.0], C=[1e-3, 0, 0], D=[1e-5, 1e-5, 1e-5])
    plain = qalto.Experiment(technique="cv", mode="digital", reactions=["A + e = B"],
                             C=[1e-3, 0], D=[1e-5, 1e-5])
    ec_current, plain_current = ec.simulate().current, plain.simulate().current
    # the following reaction removes B: the reverse (anodic) peak shrinks
    assert abs(np.min(ec_current)) < abs(np.min(plain_current))


@pytest.mark.parametrize("settings, text", [
    (dict(scan_rate=0), "Division by zero: v (V/s) is 0!"),
    (dict(E_step="abc"), "Input Error: E step (V) is abc, not a number; allowed: a number."),
])
def test_bad_values_raise_the_programs_message(settings, text):
    with pytest.raises(qalto.QaltoError) as failure:
        qalto.Experiment(technique="cv", **settings).simulate()
    assert text in str(failure.value)


@pytest.mark.parametrize("kwargs, text", [
    (dict(technique="cyclic voltammetry"), "unknown technique 'cyclic voltammetry'; one of cv,"),
    (dict(mode="fast"), "mode is analytical or digital, not fast"),
    (dict(colour=3), "unknown setting colour"),
    (dict(cycles=7), "cycles is 0.5, 1, 2 or 3, not 7")])
def test_unknown_keywords_are_refused(kwargs, text):
    with pytest.raises(qalto.QaltoError) as failure:
        qalto.Experiment(**kwargs)
    assert str(failure.value).startswith(text)


def test_threads_give_the_same_curves_as_one_after_another():
    experiments = [qalto.Experiment(technique="cv", mode="digital", ks=k) for k in
                   (1e-3, 3e-3, 1e-2, 3e-2)]
    serial = [e.simulate().current for e in experiments]
    with ThreadPoolExecutor(len(experiments)) as pool:  # one thread per experiment
        parallel = list(pool.map(lambda e: e.simulate().current, experiments))
    for a, b in zip(serial, parallel):
        np.testing.assert_array_equal(a, b)


def test_noise_is_fresh_for_each_simulate_repeats_per_experiment_and_per_seed(batch, tmp_path):
    # An experiment is one run: its first noisy curve is qalto-batch's, the next is independent.
    experiment = qalto.Experiment(technique="cv", noise=1e-6)
    first, second = (experiment.simulate().current for _ in range(2))
    options = [f"--set={control}={value}" for control, value in experiment.settings]
    _, batch_first = batch_curve(batch, tmp_path, "menu mnuSimulate\n", *options)
    np.testing.assert_array_equal(first, batch_first)
    residual = second - first  # the noise of the second less that of the first
    assert np.std(residual) == pytest.approx(np.sqrt(2) * 1e-6, rel=0.15)
    np.testing.assert_array_equal(experiment.copy().simulate().current, first)
    seeded = experiment.simulate(seed=1).current
    np.testing.assert_array_equal(seeded, experiment.simulate(seed=1).current)
    assert not np.array_equal(seeded, experiment.simulate(seed=2).current)


def test_surface_couple_is_the_thin_layer_wave():
    # A(ads) + e = B(ads): Gamma in place of D and C, ks in 1/s; peak n^2 F^2 A v Gamma / (4RT)
    v, gamma, T = 0.1, 1e-10, 298.15
    result = qalto.Experiment(technique="cv", mode="digital",
                              reactions=["A(ads) + e = B(ads)"], Gamma=[gamma, 0], ks=1e6,
                              E0=0.0, scan_rate=v, E_step=0.001, E_start=0.3,
                              E_end=-0.3).simulate()
    expected = F * F * v * gamma / (4 * R * T)
    assert np.max(result.current) == pytest.approx(expected, rel=0.005)
    assert result.potential[np.argmax(result.current)] == pytest.approx(0.0, abs=0.0011)
