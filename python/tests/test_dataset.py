"""The labelled data-set generator: labels, reproducibility, resuming after a kill."""

import json
import os
import subprocess
import time

import numpy as np
import pytest

import qalto

DESCRIPTION = {
    "seed": 5,
    "samples": 334,
    "mode": "analytical",
    "settings": {"FormIns.Estep": 0.005},
    "techniques": {"cv": {"FormTech.optTech(1)": "on", "FormIns.ComboScan": "cycle"}},
    "mechanisms": {
        "E": {"settings": {"FormMech.mech(1)": "on"}},
        "CE": {"settings": {"FormMech.mech(6)": "on"},
               "parameters": {"kf(1)": {"log_uniform": [0.1, 10]}}},
        "EC": {"settings": {"FormMech.mech(7)": "on"},
               "parameters": {"kf(1)": {"log_uniform": [0.01, 1]}}},
    },
    "parameters": {"ks(1)": {"log_uniform": [1e-4, 1]}, "alpha(1)": {"uniform": [0.3, 0.7]},
                   "scan_rate": {"grid": [0.01, 0.1]}},
    "noise": 1e-8,
}


def test_a_thousand_labelled_cvs_are_the_same_bit_for_bit(tmp_path):
    one = qalto.dataset(DESCRIPTION, tmp_path / "one.npz", threads=1)
    two = qalto.dataset(DESCRIPTION, tmp_path / "two.npz", threads=2, chunk_size=37)
    assert one["current"].shape[0] == 1002
    for key in one.files:
        np.testing.assert_array_equal(one[key], two[key], err_msg=key)
    assert list(one["mechanism_names"]) == ["E", "CE", "EC"]
    assert list(one["parameter_names"]) == ["ks(1)", "alpha(1)", "scan_rate", "kf(1)"]
    assert np.all(one["status"] == 0)
    assert np.bincount(one["mechanism"]).tolist() == [334, 334, 334]
    labels = one["parameters"]
    assert np.all(np.isnan(labels[one["mechanism"] == 0, 3]))  # E has no kf
    assert np.all((labels[:, 0] >= 1e-4) & (labels[:, 0] <= 1))
    assert set(np.unique(labels[:, 2])) == {0.01, 0.1}
    assert len(np.unique(one["seed"])) == 1002
    # each row is the curve a single run with its labels gives
    row = 400
    mechanism = one["mechanism"][row]
    single = qalto.Experiment(technique="cv", mechanism=[1, 6, 7][mechanism], E_step=0.005,
                              ks=labels[row, 0], alpha=labels[row, 1], scan_rate=labels[row, 2],
                              kf=[labels[row, 3]], noise=1e-8)
    points = one["points"][row]
    np.testing.assert_array_equal(single.simulate(seed=int(one["seed"][row])).current,
                                  one["current"][row, :points])


def test_a_killed_run_resumes_without_duplicates(tmp_path):
    description = tmp_path / "description.json"
    description.write_text(json.dumps(DESCRIPTION))
    reference = qalto.dataset(str(description), tmp_path / "reference.npz", threads=2)
    out = tmp_path / "set.npz"
    binary = os.environ.get("QALTO_BATCH")
    if not binary:
        pytest.skip("QALTO_BATCH is not set")
    run = subprocess.Popen([binary, "--dataset", str(description), "--out", str(out), "--threads", "1"],
                           stderr=subprocess.PIPE)
    chunks = tmp_path / "set.npz.chunks"
    deadline = time.time() + 60
    while time.time() < deadline and len(list(chunks.glob("chunk-*[0-9]"))) < 2:
        time.sleep(0.01)
    run.kill()
    run.wait()
    assert not out.exists()
    kept = len(list(chunks.glob("chunk-*[0-9]")))
    assert kept >= 2
    done = subprocess.run([binary, "--dataset", str(description), "--out", str(out)],
                          capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    assert not chunks.exists()
    resumed = np.load(out)
    for key in reference.files:
        np.testing.assert_array_equal(reference[key], resumed[key], err_msg=key)


def test_another_description_does_not_take_over_the_chunks(tmp_path):
    out = tmp_path / "set.npz"
    (tmp_path / "set.npz.chunks").mkdir()
    (tmp_path / "set.npz.chunks" / "description.json").write_text("{}")
    with pytest.raises(qalto.QaltoError, match="holds chunks of another description"):
        qalto.dataset(DESCRIPTION, out)
