"""Fits of an experiment to measured data with the program's Marquardt engine (Auto Fit)."""

import os
import tempfile
from dataclasses import dataclass

import numpy as np

from ._qalto import QaltoError
from .experiment import FIT_CODES
from .files import Curve

# Range boxes (min, max) of each fittable family of the Chemicals window.
RANGE_BOXES = {"C": ("TextCmin", "TextCmax"), "ks": ("TextKsmin", "TextKsmax"),
               "alpha": ("TextAlphaMin", "TextAlphamax"), "E0": ("TextEzeromin", "TextEzeromax"),
               "kf": ("TextKfmin", "TextKfmax"), "kb": ("TextKbmin", "TextKbmax"),
               "lambda": ("TextLambdaMin", "TextLambdaMax"),
               "D": ("TextDmin", "TextDmax"), "Gamma": ("TextGammaMin", "TextGammaMax"),
               "g": ("TextGmin", "TextGmax")}


def parameter_code(name):
    """The fit code of "ks(1)", "E0", "alpha(2)", ...; a plain integer is taken as a code."""
    if isinstance(name, int):
        return name
    family, _, rest = name.partition("(")
    index = int(rest.rstrip(")")) if rest else 1
    if family not in FIT_CODES:
        raise QaltoError(f"{name} is not a fittable parameter; one of {', '.join(FIT_CODES)}")
    return FIT_CODES[family] + index


@dataclass
class FitResult:
    """What the fit found, in the order the parameters were given: values, standard errors,
    95 % intervals, the correlation matrix, and per parameter its flags ("at bound" where a
    value sits on its range, "undetermined" where the data do not fix it or the standard
    error exceeds the value)."""
    names: list
    values: np.ndarray
    standard_errors: np.ndarray
    intervals: np.ndarray
    correlations: np.ndarray
    flags: list
    sum_of_squares: float
    degrees_of_freedom: int
    iterations: int
    messages: list


def _write_curve(potential, current, folder):
    path = os.path.join(folder, "data.csv")
    # Headerless two columns, as the program exports them: read in the program's own sign.
    with open(path, "w", encoding="ascii") as file:
        for e, i in zip(potential, current):
            file.write(f"{e!r},{i!r}\n")
    return path


def _flags(entry):
    """The program's own flags of a fitted value: "at bound", "undetermined"."""
    return [flag for flag, raised in (("at bound", entry["at_bound"]),
                                      ("undetermined", entry["undetermined"])) if raised]


def fit(experiment, data, parameters, bounds=None, seed=None):
    """Fits the parameters ("E0(1)", "ks(1)", "alpha(1)", "D(2)", ... or fit codes) of the
    experiment to the data: a file path (its first curve), a Curve, or (potential, current)
    arrays in the program's sign convention. bounds maps a name to (min, max)."""
    bounds = bounds or {}
    codes = [parameter_code(p) for p in parameters]
    fitted = experiment.copy()
    fitted.control("FormExpr.CheckFitted(1)", "on" if 1 in codes else "off")
    for name, code in zip(parameters, codes):
        if code != 1:
            fitted.control(f"FormExpr.CheckFitted({code})", "on")
        if name in bounds:
            family = name.partition("(")[0]
            index = code - FIT_CODES[family]
            low_box, high_box = RANGE_BOXES[family]
            place = "" if family == "g" else f"({index})"  # the layer has one g
            fitted.control(f"FormExpr.{low_box}{place}", bounds[name][0])
            fitted.control(f"FormExpr.{high_box}{place}", bounds[name][1])
    with tempfile.TemporaryDirectory() as folder:
        if isinstance(data, (str, os.PathLike)):
            path = str(data)
        else:
            if isinstance(data, Curve):
                data = (data.potential, data.current)
            path = _write_curve(np.asarray(data[0]), np.asarray(data[1]), folder)
        quoted = path.replace('"', '\\"')
        output = fitted.run(f'dialog "{quoted}"\nmenu mnuImport\nmenu mnuAutoFit\n', seed)
    result = output["fit"]
    if not result["valid"]:
        raise QaltoError("the fit did not run to its end: " + "; ".join(output["messages"]))
    by_code = {entry["code"]: entry for entry in result["parameters"]}
    entries = [by_code[code] for code in codes]
    order = [list(by_code).index(code) for code in codes]
    correlation = np.asarray(result["correlation"])[np.ix_(order, order)]
    return FitResult(
        names=[str(p) for p in parameters],
        values=np.array([e["value"] for e in entries]),
        standard_errors=np.array([e["standard_error"] for e in entries]),
        intervals=np.array([[e["lower95"], e["upper95"]] for e in entries]),
        correlations=correlation,
        flags=[_flags(e) for e in entries],
        sum_of_squares=result["sum_of_squares"],
        degrees_of_freedom=result["degrees_of_freedom"],
        iterations=result["iterations"],
        messages=output["messages"])
