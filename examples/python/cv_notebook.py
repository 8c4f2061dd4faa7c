# %% [markdown]
# # Qalto from Python
# A cyclic voltammogram simulated in both modes, a real ferricyanide voltammogram read from an
# instrument file and fitted, and the curves plotted with matplotlib. Run it cell by cell in an
# editor that knows `# %%` cells, or whole: `python3 examples/python/cv_notebook.py FILE`
# where FILE is a measurement file (CHI, EC-Lab, Gamry, NOVA or PalmSens export).

# %%
import sys

import matplotlib.pyplot as plt
import numpy as np

import qalto

# %% Simulate: a quasi-reversible one-electron couple at 0.1 V/s, both modes.
cv = qalto.Experiment(technique="cv", mode="digital", E_start=0.4, E_end=-0.3, scan_rate=0.1,
                      E0=0.05, ks=5e-3, alpha=0.5)
digital = cv.simulate()
analytical = cv.simulate(mode="analytical")
print("largest difference of the modes:",
      np.max(np.abs(digital.current - analytical.current)) / np.max(np.abs(digital.current)))

# %% Read a measured curve (the first cycle of the file).
path = sys.argv[1] if len(sys.argv) > 1 else None
if path:
    measured = qalto.read(path)[0]
    print(measured.format, measured.label, measured.settings)

# %% Fit E0 and ks to it, with the file's own scan rate and potentials.
if path:
    s = measured.settings
    model = qalto.Experiment(technique="cv", mode="digital",
                             scan_rate=s["scan_rate"] or 0.1,
                             E_start=measured.potential[0],
                             E_end=float(np.min(measured.potential)),
                             E_step=s["potential_step"] or 0.001,
                             E0=float(np.mean(measured.potential)), ks=1e-2)
    result = qalto.fit(model, path, ["E0(1)", "ks(1)", "alpha(1)"])
    for name, value, error, flags in zip(result.names, result.values,
                                         result.standard_errors, result.flags):
        print(f"{name} = {value:.4g} +/- {error:.2g} {' '.join(flags)}")

# %% Plot.
plt.plot(digital.potential, digital.current * 1e6, label="digital")
plt.plot(analytical.potential, analytical.current * 1e6, "--", label="analytical")
plt.xlabel("E / V")
plt.ylabel("I / µA (cathodic positive)")
plt.legend()
plt.gca().invert_xaxis()
plt.savefig("cv_notebook.png", dpi=120)
