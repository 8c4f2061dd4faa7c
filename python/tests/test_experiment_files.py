"""Experiments read back from the files the program writes: a session, a parameter report."""

import numpy as np
import pytest

import qalto

EXPERIMENTS = {
    "two cycles": dict(technique="cv", cycles=2, scan_rate=0.05, E_step=0.002, E_start=0.35,
                       E_end=-0.25, ks=0.01, alpha=0.4, E0=0.05, D=[1.2e-5, 0.8e-5], C=2e-3),
    "single sweep at a sphere": dict(technique="lsv", electrode="spherical", radius=0.01,
                                     scan_rate=0.2, ks=0.05, area=0.0012566),
    "differential pulse": dict(technique="dpv", E_pulse=-0.05, drop_time=0.5, pulse_time=0.05,
                               E_step=0.005, ks=0.002, D=[7e-6, 7e-6]),
    "Marcus-Hush kinetics": dict(technique="cv", scan_rate=2, E_start=0.6, E_end=-0.4,
                                 ks=0.005, lambda_=0.4),
}


def saved(experiment, tmp_path, menu, name):
    """The file the menu writes after a simulation (the report tells the last run's model)."""
    path = tmp_path / name
    experiment.run(f'menu mnuSimulate\ndialog "{path}"\nmenu {menu}\n')
    return path


@pytest.mark.parametrize("mode", ["analytical", "digital"])
@pytest.mark.parametrize("case", EXPERIMENTS)
def test_a_report_gives_back_the_experiment(tmp_path, case, mode):
    original = qalto.Experiment(mode=mode, **EXPERIMENTS[case])
    report = saved(original, tmp_path, "mnuSave", "report.txt")
    again = qalto.Experiment.from_report(report, mode=mode)
    expected, got = original.simulate(), again.simulate()
    np.testing.assert_array_equal(got.potential, expected.potential)
    # the report holds the pre-equilibrated concentrations to four digits
    peak = np.max(np.abs(expected.current))
    np.testing.assert_allclose(got.current, expected.current, rtol=0, atol=1e-4 * peak)


# Techniques whose parameter report is not read back: a session is.
SESSION_ONLY = {
    "steps": dict(technique="chronoamperometry", E_start=0.5, E1=-0.3, t1=0.5, E2=0.5, t2=0.5,
                  t_sample=0.01),
    "program": dict(technique="potential_program", t_sample=0.01,
                    program=[("hold", 0.3, 0.5), ("sweep", 0.3, -0.3, 0.1)]),
    "impedance": dict(technique="impedance", E_dc=0.1, f_from=1e4, f_to=1, Ru=20, Cd=1e-5),
}


@pytest.mark.parametrize("case", {**EXPERIMENTS, **SESSION_ONLY})
def test_a_session_gives_back_the_experiment(tmp_path, case):
    original = qalto.Experiment(mode="digital", **{**EXPERIMENTS, **SESSION_ONLY}[case])
    session = saved(original, tmp_path, "mnuSaveSession", "work.qsession")
    again = qalto.Experiment.from_session(session)
    expected, got = original.simulate(), again.simulate()
    for array in ("potential", "time", "current"):
        np.testing.assert_array_equal(getattr(got, array), getattr(expected, array), array)


@pytest.mark.parametrize("case", SESSION_ONLY)
def test_a_report_of_steps_a_program_or_a_spectrum_is_refused(tmp_path, case):
    report = saved(qalto.Experiment(**SESSION_ONLY[case]), tmp_path, "mnuSave", "report.txt")
    with pytest.raises(qalto.QaltoError, match="whose report is not read back"):
        qalto.Experiment.from_report(report)


@pytest.mark.parametrize("text, message", [
    ("Technique :\r\n 1 \r\nE start :\r\nhalf\r\n",
     'Type mismatch in line 4 of "{path}": expected a number after "E start :", found "half"'),
    ("E start :\r\n 1 \r\n",
     'Type mismatch in line 1 of "{path}": expected "Technique :", found "E start :"'),
])
def test_a_damaged_report_raises_the_programs_message(tmp_path, text, message):
    path = tmp_path / "report.txt"
    path.write_text(text, encoding="latin-1", newline="")
    with pytest.raises(qalto.QaltoError) as raised:
        qalto.Experiment.from_report(path)
    assert str(raised.value) == message.format(path=path)


def test_a_missing_report_names_the_file(tmp_path):
    path = tmp_path / "none.txt"
    with pytest.raises(qalto.QaltoError, match="none.txt"):
        qalto.Experiment.from_report(path)
