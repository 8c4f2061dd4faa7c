"""Measurement files of every format the program reads."""

from dataclasses import dataclass, field

import numpy as np

from . import _qalto


@dataclass
class Curve:
    """One measured curve as its file holds it: potential (V), current (A, anodic positive as
    instruments record it), time (s; empty where the file has no time column), the file's
    format and technique, and the settings of the potential program the file states."""
    potential: np.ndarray
    current: np.ndarray
    time: np.ndarray
    source: str = ""
    label: str = ""
    format: str = ""
    technique: str = ""
    settings: dict = field(default_factory=dict)


def read(path):
    """The curves of a measurement file (one per cycle, segment or scan), in file order; raises
    QaltoError with the program's message for a file it cannot read."""
    return [Curve(**entry) for entry in _qalto.read(str(path))]
