"""The two-method model interface of the common Bayesian-inference frameworks."""

import numpy as np

from .fitting import parameter_code
from .experiment import FIT_CODES, CHEMICALS


class PintsModel:
    """A forward model of the current: n_parameters() and simulate(parameters, times), where
    parameters are the values of the named quantities ("E0(1)", "ks(1)", ...) in their own
    units and times are the times (s from the start of the run) at which the current (A) is
    wanted. The experiment's simulated current is interpolated linearly in time."""

    def __init__(self, experiment, parameters, mode=None):
        self._experiment = experiment
        self._names = list(parameters)
        self._mode = mode
        for name in self._names:
            parameter_code(name)  # refuses a name that is not a parameter

    def n_parameters(self):
        return len(self._names)

    def n_outputs(self):
        return 1

    def simulate(self, parameters, times):
        experiment = self._experiment.copy()
        for name, value in zip(self._names, parameters):
            family, _, rest = name.partition("(")
            index = int(rest.rstrip(")")) if rest else 1
            experiment.control(f"FormExpr.{CHEMICALS[family][0]}({index})", float(value))
        result = experiment.simulate(mode=self._mode)
        current = result.current if result.current.ndim == 1 else result.current[:, -1]
        return np.interp(np.asarray(times, dtype=float), result.time, current)
