// The compiled half of the Python module qalto: runs of the program and file reading, with
// numbers handed over as numpy arrays. The interpreter lock is released while the program works,
// so that threads simulate side by side.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <exception>

#include "app/dataset_generator.h"
#include "app/experiment_run.h"
#include "files/measurement_file.h"
#include "model/model_limits.h"

namespace py = pybind11;

namespace {

py::array_t<double> Array(const std::vector<double>& values) {
  return py::array_t<double>(static_cast<py::ssize_t>(values.size()), values.data());
}

py::array_t<double> Matrix(const std::vector<double>& values, int rows, int columns) {
  py::array_t<double> array({static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(columns)});
  std::copy(values.begin(), values.end(), array.mutable_data());
  return array;
}

py::dict FitDict(const qalto::FitResult& fit) {
  py::dict result;
  result["valid"] = fit.valid;
  py::list parameters;
  for (const qalto::FittedParameter& p : fit.parameters) {
    py::dict entry;
    entry["code"] = p.code;
    entry["name"] = p.name;
    entry["initial"] = p.initial;
    entry["value"] = p.value;
    entry["determined"] = p.determined;
    entry["at_bound"] = p.atBound;
    entry["undetermined"] = p.Undetermined();
    entry["standard_error"] = p.standardError;
    entry["lower95"] = p.lower95;
    entry["upper95"] = p.upper95;
    entry["log_scale"] = p.logScale;
    parameters.append(entry);
  }
  result["parameters"] = parameters;
  result["correlation"] = fit.correlation;
  result["sum_of_squares"] = fit.sumOfSquares;
  result["residual_variance"] = fit.residualVariance;
  result["degrees_of_freedom"] = fit.degreesOfFreedom;
  result["flag"] = fit.flag;
  result["iterations"] = fit.iterations;
  return result;
}

py::dict Run(const std::vector<std::pair<std::string, std::string>>& settings,
             const std::string& script, std::optional<std::uint64_t> seed, bool surface,
             double noiseState) {
  qalto::RunRequest request{settings, script, seed, surface, noiseState};
  qalto::RunOutput output;
  {
    py::gil_scoped_release release;
    output = qalto::RunExperiment(request);
  }
  py::dict result;
  result["status"] = output.status;
  result["error"] = output.error;
  result["messages"] = output.messages;
  result["printed"] = output.printed;
  result["potential"] = Array(output.potential);
  result["time"] = Array(output.time);
  result["charge"] = Array(output.charge);
  result["current"] = Matrix(output.current, output.points, output.curves);
  result["spectrum_frequencies"] = output.spectrumFrequencies;
  result["harmonics"] = Matrix(output.harmonics, output.harmonics.empty() ? 0 : output.points,
                               output.harmonics.empty() ? 0 : qalto::kAcHarmonics + 1);
  result["spectrum_frequency"] = Array(output.spectrumFrequency);
  result["spectrum_power"] = Array(output.spectrumPower);
  result["noise_state"] = output.fixedNoiseState;
  result["surface"] = Matrix(output.surface, surface ? output.points : 0, output.species);
  result["species"] = output.speciesNames;
  result["fit"] = FitDict(output.fit);
  return result;
}

py::list Read(const std::string& path) {
  qalto::ImportedFile file;
  {
    py::gil_scoped_release release;
    file = qalto::ReadMeasurementFile(path);
  }
  py::list curves;
  for (const qalto::ImportedCurve& curve : file.curves) {
    py::dict entry;
    entry["source"] = curve.source;
    entry["label"] = curve.label;
    entry["format"] = file.format;
    entry["technique"] = file.technique;
    entry["potential"] = Array(curve.potential);
    entry["current"] = Array(curve.current);
    entry["time"] = Array(curve.time);
    entry["imaginary"] = Array(curve.imaginary);
    py::dict settings;
    settings["scan_rate"] = curve.settings.scanRate;
    settings["potential_step"] = curve.settings.potentialStep;
    settings["start_potential"] = curve.settings.startPotential;
    settings["switching_potentials"] = curve.settings.switchingPotentials;
    settings["area"] = curve.settings.area;
    entry["settings"] = settings;
    curves.append(entry);
  }
  return curves;
}

long long Dataset(const std::string& descriptionText, const std::string& output, int threads,
                  int chunkSize) {
  const qalto::DatasetDescription description = qalto::ParseDatasetDescription(descriptionText);
  qalto::DatasetOptions options;
  options.output = output;
  options.threads = threads;
  options.chunkSize = chunkSize;
  py::gil_scoped_release release;
  return qalto::GenerateDataset(description, descriptionText, options);
}

}  // namespace

PYBIND11_MODULE(_qalto, module) {
  module.doc() = "The compiled core of qalto: runs of the program and measurement files.";
  static py::exception<std::exception> error(module, "QaltoError", PyExc_RuntimeError);
  py::register_exception_translator([](std::exception_ptr thrown) {
    try {
      if (thrown) std::rethrow_exception(thrown);
    } catch (const std::exception& failure) {
      error(failure.what());
    }
  });
  module.def("run", &Run, py::arg("settings"), py::arg("script"), py::arg("seed") = py::none(),
             py::arg("surface") = false, py::arg("noise_state") = 0.0,
             "Runs a script of user actions on a new application after the control settings; "
             "noise_state continues the fixed noise of an earlier run (0: a new run).");
  module.def("dataset", &Dataset, py::arg("description"), py::arg("output"), py::arg("threads"),
             py::arg("chunk_size"), "Writes a labelled data set; returns the failed curves.");
  module.def("read", &Read, py::arg("path"), "The curves of a measurement file.");
}
