"""Reading instrument files, fitting, and the Bayesian model interface."""

import json

import numpy as np
import pytest

import qalto

CORPUS = ["chi", "biologic_mpt", "gamry_dta", "palmsens_csv", "palmsens_pssession",
          "autolab_nova"]


def test_every_corpus_file_reads_as_the_program_imports_it(instruments, batch, tmp_path):
    files = [p for folder in CORPUS for p in sorted((instruments / folder).glob("*"))
             if p.is_file()]
    assert files
    for path in files:
        curves = qalto.read(path)
        assert curves and all(c.potential.size == c.current.size for c in curves)
        out = tmp_path / "imported.csv"
        done = batch(f'dialog "{path}"\nmenu mnuImport\n', "--out", str(out))
        if done.returncode != 0:
            continue  # the program refuses the file as a whole (not a curve it can use)
        table = np.loadtxt(out, delimiter=",", skiprows=1, ndmin=2)
        first = curves[0]
        if first.potential.size != table.shape[0]:
            continue  # the store resamples a curve longer than its limit
        np.testing.assert_array_equal(table[:, 0], first.potential, err_msg=str(path))
        stored = table[:, 1]
        assert (np.array_equal(stored, first.current) or
                np.array_equal(stored, -first.current)), path


def test_a_missing_file_raises_the_programs_message(tmp_path):
    with pytest.raises(qalto.QaltoError, match="File not found"):
        qalto.read(tmp_path / "none.csv")


def test_fit_recovers_the_truth_and_equals_auto_fit(batch, tmp_path):
    data = qalto.Experiment(technique="cv", mode="digital", ks=1e-3, E0=0.1, noise=1e-6,
                            scan_rate=0.1).simulate(seed=7)
    start = qalto.Experiment(technique="cv", mode="digital", ks=3e-3, E0=0.12, scan_rate=0.1)
    names = ["ks(1)", "E0(1)"]
    result = qalto.fit(start, (data.potential, data.current), names,
                       bounds={"ks(1)": (1e-5, 1.0), "E0(1)": (-0.2, 0.4)})
    assert result.values[0] == pytest.approx(1e-3, rel=0.05)
    assert result.values[1] == pytest.approx(0.1, abs=0.001)
    for (low, high), value in zip(result.intervals, result.values):
        assert low < value < high
    assert result.correlations.shape == (2, 2)
    assert result.flags == [[], []]
    # Auto Fit of the same file in qalto-batch finds the same values, digit for digit
    csv = tmp_path / "data.csv"
    csv.write_text("".join(
        f"{e!r},{i!r}\n" for e, i in zip(data.potential, data.current)))
    script = ("menu mnuMechamism\nclick FormMech.Command1\n"
              "menu mnuInstrument\nselect FormIns.ComboScan cycle\nset FormIns.V 0.1\n"
              "click FormIns.cmdOK\nmenu mnuExperimental\nset FormExpr.ks(1) 3e-3\n"
              "set FormExpr.Eze(1) 0.12\ncheck FormExpr.CheckFitted(1) off\n"
              "check FormExpr.CheckFitted(11) on\ncheck FormExpr.CheckFitted(31) on\n"
              "set FormExpr.TextKsmin(1) 1e-5\nset FormExpr.TextKsmax(1) 1\n"
              "set FormExpr.TextEzeromin(1) -0.2\nset FormExpr.TextEzeromax(1) 0.4\n"
              f'dialog "{csv}"\nmenu mnuImport\nmenu mnuAutoFit\n')
    record = tmp_path / "record.json"
    done = batch(script, "--json", str(record))
    assert done.returncode == 0, done.stderr
    fitted = {p["name"]: p["value"] for p in json.loads(record.read_text())["fitted"]}
    assert fitted["ks(1)"] == pytest.approx(result.values[0], rel=1e-12)
    assert fitted["E0(1)"] == pytest.approx(result.values[1], rel=1e-12)


def test_fit_of_an_unknown_parameter_is_refused():
    with pytest.raises(qalto.QaltoError, match="not a fittable parameter"):
        qalto.fit(qalto.Experiment(), ([0.0, 0.1], [0.0, 0.0]), ["speed(1)"])


def test_the_model_interface_gives_the_experiments_current():
    """What a sampler such as PINTS calls: the current of the named parameters' values at the
    times asked for, interpolated linearly between the points of the run."""
    model = qalto.PintsModel(qalto.Experiment(technique="cv", scan_rate=0.1, E_step=0.004),
                             ["ks(1)", "E0(1)"])
    assert model.n_parameters() == 2
    truth = qalto.Experiment(technique="cv", scan_rate=0.1, E_step=0.004, ks=2e-3, E0=0.05)
    run = truth.simulate()
    np.testing.assert_array_equal(model.simulate([2e-3, 0.05], run.time), run.current)
    between = (run.time[:-1] + run.time[1:]) / 2
    np.testing.assert_allclose(model.simulate([2e-3, 0.05], between),
                               (run.current[:-1] + run.current[1:]) / 2, rtol=1e-12, atol=0)
