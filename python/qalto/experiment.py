"""The experiment: technique, electrode, mechanism, species and instrument settings, held as the
values of the program's own controls so that a run from Python is the same run as a script's."""

import pathlib
import re
from dataclasses import dataclass, field

import numpy as np

from . import _qalto
from ._qalto import QaltoError

TECHNIQUES = {"cv": 1, "lsv": 1, "sweep": 1, "dc": 2, "normal_pulse": 3, "npv": 3,
              "differential_pulse": 4, "dpv": 4, "square_wave": 5, "swv": 5,
              "additive_square_wave": 6, "chronoamperometry": 7, "ca": 7,
              "potential_program": 8, "program": 8, "ac_voltammetry": 9, "acv": 9,
              "impedance": 10, "eis": 10}
ELECTRODES = {"planar": 1, "spherical": 2, "hemispherical": 3, "microdisc": 4, "cylindrical": 5,
              "rotating_cylinder": 6, "rotating_hemisphere": 7, "rotating_disk": 8,
              "thin_film": 9, "band": 10}
SCANS = {0.5: "single", 1: "cycle", 2: "2 cycles", 3: "3 cycles"}

# keyword: (control, unit) of the Instrument window.
INSTRUMENT = {
    "E_start": ("FormIns.Estart", "V"), "E_end": ("FormIns.Eend", "V"),
    "E_step": ("FormIns.Estep", "V"), "scan_rate": ("FormIns.V", "V/s"),
    "pulse_time": ("FormIns.tp", "s"), "drop_time": ("FormIns.td", "s"),
    "E_pulse": ("FormIns.Epulse", "V"), "temperature": ("FormIns.txttemp", "degC"),
    "noise": ("FormIns.Noise", "A"), "frequency": ("FormIns.TextF", "Hz"),
    "area": ("FormIns.ARE", "cm2"), "radius": ("FormIns.radius", "cm"),
    "length": ("FormIns.leng", "cm"), "Ru": ("FormIns.txtRu", "ohm"),
    "Cd": ("FormIns.Cdl", "F"), "expanding_grid": ("FormIns.TextExpanding", ""),
    "quiet_time": ("FormIns.TextQuiet", "s"),
    # Potential steps: E1 for t1, then E2 for t2 (0: one step), sampled every t_sample.
    "E1": ("FormIns.TextE1", "V"), "t1": ("FormIns.TextT1", "s"), "E2": ("FormIns.TextE2", "V"),
    "t2": ("FormIns.TextT2", "s"), "t_sample": ("FormIns.TextTSample", "s"),
    # Impedance: the DC potential and the frequencies, from f_from to f_to.
    "E_dc": ("FormIns.TextEdc", "V"), "f_from": ("FormIns.TextFfrom", "Hz"),
    "f_to": ("FormIns.TextFto", "Hz"), "points_per_decade": ("FormIns.TextFdecade", ""),
    # AC voltammetry: the sine's amplitude (its box is in mV) and its frequency ("frequency").
    "amplitude": ("FormIns.TextAmplitude", "V"),
    # The adsorbed layer's, on the Chemicals window.
    "Gamma_max": ("FormExpr.TextSaturation", "mol/cm2"), "g": ("FormExpr.TextInteraction", ""),
}
# keyword: (control family of the Chemicals window, unit), one value per reaction or species.
CHEMICALS = {
    "E0": ("Eze", "V"), "ks": ("ks", "cm/s"), "alpha": ("alph", ""),
    "lambda_": ("lambda", "eV"),
    "D": ("D", "cm2/s"), "C": ("C", "mol/L"), "kf": ("kf", "1/s"), "kb": ("kb", "1/s"),
    "Gamma": ("Gamma", "mol/cm2"),
}
# Fit codes of the Chemicals window's "fitted" boxes: name(i) is code base + i.
FIT_CODES = {"C": 0, "ks": 10, "alpha": 20, "E0": 30, "kf": 40, "kb": 50, "lambda": 60,
             "D": 70, "g": 79, "Gamma": 80}


def number_text(value):
    """The text a user would type: the shortest form that reads back as the same double."""
    return repr(float(value)) if not isinstance(value, str) else value


def _indexed(values):
    if isinstance(values, dict):
        return sorted(values.items())
    if np.ndim(values) == 0:
        return [(1, values)]
    return list(enumerate(values, start=1))


_CHARGE = re.compile(r"^\s*(\d*)\s*([^\s+=]+)\s*\+\s*(\d*)\s*e\s*=\s*(\d*)\s*([^\s+=]+)\s*$")
_FIRST = re.compile(r"^\s*([^\s+=]+)\s*=\s*([^\s+=]+)\s*$")
_SECOND = re.compile(r"^\s*([^\s+=]+)\s*\+\s*([^\s+=]+)\s*=\s*([^\s+=]+)\s*\+\s*([^\s+=]+)\s*$")


def reaction_settings(reactions):
    """Control settings of the Mechanism window for reactions written as text:
    "A + e = B" (charge, "2e" for two electrons), "B = C" (first order), "B + Z = A + Y"."""
    settings, charge, first, second = [], 0, 0, 0
    for text in reactions:
        if m := _CHARGE.match(text):
            charge += 1
            if charge > 3:
                raise QaltoError("at most 3 charge reactions: " + text)
            n1, ox, n, n2, red = m.groups()
            base = 10 * charge
            for offset, value in ((1, n1 or "1"), (2, ox), (4, n or "1"), (5, n2 or "1"),
                                  (6, red)):
                settings.append((f"FormMech.charge({base + offset})", value))
        elif m := _SECOND.match(text):
            second += 1
            if second > 4:
                raise QaltoError("at most 4 second-order reactions: " + text)
            for k, name in enumerate(m.groups(), start=4 * second - 3):
                settings.append((f"FormMech.chem2({k})", name))
        elif m := _FIRST.match(text):
            first += 1
            if first > 4:
                raise QaltoError("at most 4 first-order reactions: " + text)
            settings.append((f"FormMech.chem({2 * first - 1})", m.group(1)))
            settings.append((f"FormMech.chem({2 * first})", m.group(2)))
        else:
            raise QaltoError("not a reaction: " + text)
    for row in range(charge + 1, 4):  # rows left empty are no reaction
        for offset in (2, 6):
            settings.append((f"FormMech.charge({10 * row + offset})", ""))
    return settings


PROGRAM_ROWS = 12
# kind: the boxes of a segment's numbers, in the order a tuple gives them.
_SEGMENT_BOXES = {"hold": ("TextE", "TextT"), "sweep": ("TextE", "TextEto", "TextV"),
                  "step": ("TextE", "TextT")}


def program_settings(segments):
    """Control settings of the Potential program window for segments ("hold", E, t),
    ("sweep", E_from, E_to, v), ("step", E) or ("step", E, t); the rows after them are cleared."""
    segments = list(segments)
    if len(segments) > PROGRAM_ROWS:
        raise QaltoError(f"a potential program holds at most {PROGRAM_ROWS} segments, "
                         f"not {len(segments)}")
    settings = [("FormProgram.CheckFile", "off")]
    for row, segment in enumerate(segments, start=1):
        kind, *numbers = segment
        boxes = _SEGMENT_BOXES.get(kind)
        shortest = 1 if kind == "step" else len(boxes or ())
        if boxes is None or not shortest <= len(numbers) <= len(boxes):
            raise QaltoError(f"segment {row}: {segment!r} is not (\"hold\", E, t), "
                             f"(\"sweep\", E_from, E_to, v) or (\"step\", E[, t])")
        settings.append((f"FormProgram.ComboKind({row})", kind))
        for box, number in zip(boxes, numbers):
            settings.append((f"FormProgram.{box}({row})", number_text(number)))
    for row in range(len(segments) + 1, PROGRAM_ROWS + 1):
        settings.append((f"FormProgram.ComboKind({row})", ""))
    return settings


# label of the parameter report: keyword of the Instrument window.
REPORT_INSTRUMENT = {"E start :": "E_start", "E end :": "E_end", "E Step :": "E_step",
                     "t pulse :": "pulse_time", "Area Of Electrode :": "area",
                     "E pulse :": "E_pulse", "Noise (%) :": "noise"}


def _report_values(lines, path):
    """The report's label and value lines as {label: number}, and one such dict per species;
    the fit's uncertainty block at the end is left out."""
    values, species = {}, []
    target = values
    for k in range(0, len(lines) - 1, 2):
        label, text = lines[k].strip(), lines[k + 1].strip()
        if label == "Parameter uncertainty :":
            break
        if label == "Species":
            species.append({})
            target = species[-1]
            continue
        if not text:
            continue  # a value never set
        try:
            target[label] = float(text)
        except ValueError:
            raise QaltoError(f"Type mismatch in line {k + 2} of \"{path}\": expected a number "
                             f"after \"{label}\", found \"{text}\"") from None
    if "Technique :" not in values:
        raise QaltoError(f"Type mismatch in line 1 of \"{path}\": expected \"Technique :\", "
                         f"found \"{lines[0].strip() if lines else ''}\"")
    return values, species


def _report_cycles(values, step):
    """The cycles of a sweep from its number of points: (points - 1) steps cover the range once
    for a single sweep, twice for a cycle; None when the numbers fit no choice."""
    points, start, end = values.get("No. OF DATA :"), values.get("E start :"), values.get("E end :")
    if not points or start is None or end is None or start == end:
        return None
    spans = (points - 1) * abs(step) / abs(end - start)
    for cycles in SCANS:
        if abs(spans - 2 * cycles) < 0.01 * spans:
            return cycles
    return None


@dataclass
class SimulationResult:
    """One simulated run: a value per point (potential in V, time in s from the start, current
    in A, one column per curve of the store) and, on request, the surface concentrations
    (mol/L, one column per species)."""
    potential: np.ndarray
    time: np.ndarray
    current: np.ndarray
    surface_concentrations: np.ndarray = None
    species: list = field(default_factory=list)
    messages: list = field(default_factory=list)
    charge: np.ndarray = None  # C passed since the start of the run, per point
    # An impedance spectrum: the frequencies (Hz) and Z = Z' + j Z'' (ohm) at each.
    frequency: np.ndarray = None
    impedance: np.ndarray = None
    # An AC voltammogram: per point the DC component and the envelopes of harmonics 1..8 (A,
    # column k harmonic k); the power spectrum of its current, frequencies (Hz) and A^2.
    harmonics: np.ndarray = None
    spectrum_frequency: np.ndarray = None
    spectrum_power: np.ndarray = None


class Experiment:
    """An experiment described by keywords (units beside each in INSTRUMENT and CHEMICALS):

    technique  "cv" (cyclic), "lsv" (single sweep), "dc", "npv", "dpv", "swv",
               "additive_square_wave", "chronoamperometry" ("ca"), "potential_program"
               ("program"), "ac_voltammetry" ("acv"), "impedance" ("eis")
    mode       "analytical" or "digital"
    electrode  "planar", "spherical", "hemispherical", "microdisc", "cylindrical",
               "rotating_cylinder", "rotating_hemisphere", "rotating_disk", "thin_film", "band"
    mechanism  1..10, the fixed mechanisms; or reactions=["A + e = B", "B = C"] (digital mode)
    cycles     0.5 (single sweep), 1, 2 or 3
    E_start, E_end, E_step (V), scan_rate (V/s), pulse_time, drop_time (s), E_pulse (V),
    temperature (degrees C), noise (A), frequency (Hz), area (cm2), radius, length (cm),
    Ru (ohm), Cd (F), quiet_time (s)
    E1, E2 (V), t1, t2, t_sample (s): potential steps, E1 for t1 then E2 for t2 (0: one step)
    program    the potential program's segments in order: ("hold", E, t), ("sweep", E_from,
               E_to, v), ("step", E) or ("step", E, t); V, s and V/s
    amplitude (V), frequency (Hz): the sine of an AC voltammogram; ac_on_program=True puts it
               on the potential program instead of the sweep
    E_dc (V), f_from, f_to (Hz), points_per_decade: an impedance spectrum
    E0 (V), ks (cm/s), alpha: one value or a list per charge reaction
    lambda_ (eV): Marcus-Hush-Chidsey kinetics with this reorganisation energy (0.1 to 50) in
               place of alpha, per charge reaction; 0 is Butler-Volmer
    D (cm2/s), C (mol/L): one value or a list per species, in the program's species order
    Gamma (mol/cm2): per species, the surface concentration of an adsorbed species ("A(ads)")
    Gamma_max (mol/cm2), g: the adsorbed layer's saturation and Frumkin interaction
    kf, kb (1/s or 1/(M s)): per homogeneous reaction
    controls   {"FormIns.Estart": "0.3", ...}: any other control by its script name

    An experiment is one run of the program: its simulations without a seed draw their noise on
    from one stream, as the Simulates of one script do; a copy is a new run.
    """

    # Where this experiment's last run left the program's fixed noise generator (0: no run yet).
    _noise_state = 0.0

    def __init__(self, technique="cv", mode="analytical", electrode="planar", mechanism=None,
                 reactions=None, cycles=None, program=None, ac_on_program=False, controls=None,
                 **values):
        self._settings = []
        self._prelude = ""
        if mode not in ("analytical", "digital"):
            raise QaltoError(f"mode is analytical or digital, not {mode}")
        self.mode = mode
        self._settings.append(("FormMech.CheckDigital", "on" if mode == "digital" else "off"))
        if mechanism is not None:
            self._settings.append((f"FormMech.mech({int(mechanism)})", "on"))
        if reactions is not None:
            self._settings += reaction_settings(reactions)
        self._set_choice("technique", technique, TECHNIQUES, "FormTech.optTech")
        self._set_choice("electrode", electrode, ELECTRODES, "FormIns.optElectrode")
        if cycles is None:
            cycles = 0.5 if technique == "lsv" else (1 if technique == "cv" else None)
        if cycles is not None:
            if cycles not in SCANS:
                raise QaltoError(f"cycles is 0.5, 1, 2 or 3, not {cycles}")
            self._settings.append(("FormIns.ComboScan", SCANS[cycles]))
        if program is not None:
            self._settings += program_settings(program)
        if ac_on_program:
            self._settings.append(("FormIns.ComboAcBase", "potential program"))
        self.set(**values)
        for control, value in (controls or {}).items():
            self._settings.append((control, number_text(value)))

    def _set_choice(self, what, value, table, family):
        if value not in table:
            raise QaltoError(f"unknown {what} {value!r}; one of {', '.join(table)}")
        self._settings.append((f"{family}({table[value]})", "on"))

    def set(self, **values):
        """Changes settings by keyword, as the constructor takes them; returns the experiment."""
        for name, value in values.items():
            if name == "amplitude":  # typed in mV
                self._settings.append((INSTRUMENT[name][0], number_text(float(value) * 1e3)))
            elif name in INSTRUMENT:
                self._settings.append((INSTRUMENT[name][0], number_text(value)))
            elif name in CHEMICALS:
                family = CHEMICALS[name][0]
                for index, item in _indexed(value):
                    self._settings.append((f"FormExpr.{family}({index})", number_text(item)))
            else:
                raise QaltoError(f"unknown setting {name}")
        return self

    def control(self, name, value):
        """Sets any control by its script name ("FormIns.Estart", "FormExpr.ks(2)")."""
        self._settings.append((name, number_text(value)))
        return self

    @classmethod
    def from_session(cls, path):
        """The experiment a saved session file describes."""
        experiment = cls.__new__(cls)
        experiment._settings = []
        experiment.mode = None
        experiment._prelude = f'dialog "{path}"\nmenu mnuOpenSession\n'
        return experiment

    @classmethod
    def from_report(cls, path, mode="analytical"):
        """The experiment a parameter report (File > Save...) describes: technique, fixed
        mechanism, electrode, potential program, timing, area, noise, every species' D and C and
        every charge reaction's ks, alpha, E0 and lambda. The report holds neither the simulation mode
        (given here), the scan rate (a sweep's is E step / t drop, as the program times it), the
        number of cycles (read from the number of points) nor the editor's reaction text, and it
        holds the concentrations after the pre-equilibration at the start potential, rounded:
        the curves agree with the saved run's to that rounding, not to the last digit."""
        try:
            lines = pathlib.Path(path).read_text(encoding="latin-1").splitlines()
        except OSError as error:
            raise QaltoError(f"{error.strerror}: \"{path}\"") from None
        # Steps, programs, AC voltammetry and impedance write blocks of their own, which are
        # not read back: those experiments come from keywords or from their session.
        if len(lines) > 1 and lines[0].strip() == "Technique :" and \
                lines[1].strip() in ("7", "8", "9", "10"):
            raise QaltoError(f"\"{path}\" reports technique {lines[1].strip()}, whose report is "
                             "not read back; build the experiment from keywords or open its "
                             "session with Experiment.from_session")
        values, species = _report_values(lines, path)
        technique = int(values.get("Technique :", 1))
        names = {number: name for name, number in reversed(TECHNIQUES.items()) if number <= 6}
        if technique not in names:
            raise QaltoError(f"Type mismatch in line 2 of \"{path}\": expected a technique "
                             f"1 to {max(names)}, found \"{technique}\"")
        experiment = cls(technique=names[technique], mode=mode,
                         mechanism=int(values.get("Mechisim :", 1)))
        experiment._settings.append((f"FormIns.optElectrode({int(values.get('Electrode', 1))})",
                                     "on"))
        for label, name in REPORT_INSTRUMENT.items():
            if label in values:
                experiment.set(**{name: values[label]})
        for label, box in (("Gamma max (mol/cm2) :", "TextSaturation"), ("g :", "TextInteraction")):
            if label in values:
                experiment._settings.append((f"FormExpr.{box}", number_text(values[label])))
        step, drop = values.get("E Step :"), values.get("t drop :")
        if technique == TECHNIQUES["cv"] and step and drop:
            experiment.set(scan_rate=abs(step) / drop)
            cycles = _report_cycles(values, step)
            if cycles is not None:
                experiment._settings.append(("FormIns.ComboScan", SCANS[cycles]))
        elif drop is not None:
            experiment.set(drop_time=drop)
        for index, block in enumerate(species, start=1):
            for label, family in (("D :", "D"), ("C :", "C"), ("Gamma (mol/cm2) :", "Gamma")):
                if label in block:
                    experiment._settings.append((f"FormExpr.{family}({index})",
                                                 number_text(block[label])))
            if index <= 3:  # the tables of the charge reactions, written at each species
                for label, family in (("ks :", "ks"), ("Alpha :", "alph"), ("E' :", "Eze"),
                                      ("Lambda (eV) :", "lambda")):
                    if label in block:
                        experiment._settings.append((f"FormExpr.{family}({index})",
                                                     number_text(block[label])))
        return experiment

    @property
    def settings(self):
        """The control settings, in the order they are applied."""
        return list(self._settings)

    def run(self, script, seed=None, surface=False):
        """Runs script lines after the settings; raises QaltoError with the program's message
        when a line cannot run or a computation fails. Noise without a seed draws on from where
        this experiment's previous run left the program's fixed generator."""
        output = _qalto.run(self._settings, self._prelude + script, seed, surface,
                            self._noise_state if seed is None else 0.0)
        if output["status"] != 0:
            raise QaltoError(output["error"] or "; ".join(output["messages"]))
        if seed is None and output["noise_state"] > 0:
            self._noise_state = output["noise_state"]
        return output

    def simulate(self, mode=None, seed=None, concentrations=False):
        """Simulates the experiment; mode overrides the experiment's. Noise (if any) comes from
        the stream started at seed when one is given (the same seed, the same curve), else from
        the program's fixed generator, which each simulate of this experiment draws on from:
        its first noisy curve is qalto-batch's, the later ones carry independent noise."""
        experiment = self
        if mode is not None and mode != self.mode:
            experiment = self.copy()
            experiment._noise_state = self._noise_state
            experiment._settings.append(("FormMech.CheckDigital",
                                         "on" if mode == "digital" else "off"))
        output = experiment.run("menu mnuSimulate\n", seed, concentrations)
        self._noise_state = experiment._noise_state
        target = output["current"]
        result = SimulationResult(
            potential=output["potential"], time=output["time"],
            current=target[:, -1] if target.shape[1] == 1 else target,
            surface_concentrations=output["surface"] if concentrations else None,
            species=output["species"], messages=output["messages"], charge=output["charge"])
        n = output["spectrum_frequencies"]
        if n > 0:  # the store holds Z' at points 1..n and Z'' at n+1..2n
            result.frequency = output["potential"][:n]
            result.impedance = target[:n, -1] + 1j * target[n:2 * n, -1]
        if output["harmonics"].size:
            result.harmonics = output["harmonics"]
            result.spectrum_frequency = output["spectrum_frequency"]
            result.spectrum_power = output["spectrum_power"]
        return result

    def copy(self):
        other = Experiment.__new__(Experiment)
        other._settings = list(self._settings)
        other._prelude = self._prelude
        other.mode = self.mode
        return other
