"""Qalto from Python: simulate voltammetric experiments, read instrument files, fit.

    import qalto
    cv = qalto.Experiment(technique="cv", mode="digital", ks=1e-3, scan_rate=0.1)
    result = cv.simulate()
    result.potential, result.current      # numpy arrays, V and A

Every computation is done by the same compiled core as the desktop program and qalto-batch.
"""

from ._qalto import QaltoError
from .experiment import Experiment, SimulationResult
from .dataset import dataset
from .files import Curve, read
from .fitting import FitResult, fit
from .pints_model import PintsModel

__all__ = ["dataset", "Experiment", "SimulationResult", "Curve", "read", "FitResult", "fit",
           "PintsModel", "QaltoError"]
