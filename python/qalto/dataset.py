"""Labelled data sets of simulated curves for machine learning."""

import json
import os

import numpy as np

from . import _qalto


def dataset(description, output, threads=None, chunk_size=100):
    """Simulates every curve of a data-set description and writes them to output (.npz), then
    returns the set as numpy.load gives it. description is the description (a dict, or the path of a
    JSON file) as qalto-batch --dataset takes it: mechanisms x techniques x parameters drawn
    from grids or uniform, log-uniform or normal distributions, optional noise, a seed. The set
    is the same bit for bit for the same description; an interrupted run resumes from the
    chunks kept in output + ".chunks". Arrays: current, potential (curves x points, NaN past a
    curve's points), points, mechanism and mechanism_names, technique and technique_names,
    parameters and parameter_names, status (0: simulated), seed."""
    if isinstance(description, (str, os.PathLike)) and os.path.exists(description):
        with open(description, encoding="utf-8") as file:
            text = file.read()
    else:
        text = json.dumps(description)
    _qalto.dataset(text, str(output), threads or os.cpu_count() or 1, chunk_size)
    return np.load(output)
