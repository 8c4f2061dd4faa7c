"""Measurement files of every format the program reads."""

from dataclasses import dataclass, field

import numpy as np

from . import _qalto


@dataclass
class Curve:
    """One measured curve as its file holds it: potential (V), current (A, anodic positive as
    instruments record it), time (s; empty where the file has no time column), the file's
    format and technique, and the settings of the potential program the file states. An
    impedance spectrum holds its frequencies (Hz) as potential, Z' (ohm) as current and Z''
    (ohm, negative for a capacitive cell) as imaginary; `frequency` and `impedance` give them
    by name."""
    potential: np.ndarray
    current: np.ndarray
    time: np.ndarray
    source: str = ""
    label: str = ""
    format: str = ""
    technique: str = ""
    settings: dict = field(default_factory=dict)
    imaginary: np.ndarray = None

    @property
    def frequency(self):
        """An impedance spectrum's frequencies (Hz); None for a voltammogram."""
        return self.potential if self.imaginary is not None and self.imaginary.size else None

    @property
    def impedance(self):
        """An impedance spectrum's Z' + j Z'' (ohm); None for a voltammogram."""
        if self.imaginary is None or not self.imaginary.size:
            return None
        return self.current + 1j * self.imaginary


def read(path):
    """The curves of a measurement file (one per cycle, segment or scan), in file order; raises
    QaltoError with the program's message for a file it cannot read."""
    return [Curve(**entry) for entry in _qalto.read(str(path))]
