#pragma once
// Small measurement files of our own in the layouts of the instrument programs, with the
// quirks the real exports have (a trailing tab after the column names, no final line end,
// Latin-1 units, tables that are not the working electrode's).

#include <string>

namespace qalto {

// Two cycles of two points; 100 mV/s, 0.071 cm2; the names line ends in a tab.
inline std::string EcLabSample() {
  return "EC-Lab ASCII FILE\r\n"
         "Nb header lines : 10                          \r\n"
         "\r\n"
         "Cyclic Voltammetry\r\n"
         "Electrode surface area : 0.071 cm\xB2\r\n"
         "Ei (V)              0.100               \r\n"
         "vs.                 Ref                 \r\n"
         "dE/dt               100.000             \r\n"
         "dE/dt unit          mV/s                \r\n"
         "mode\ttime/s\tEwe/V\t<I>/mA\tcycle number\t\r\n"
         "2\t1.5\t0.100\t1.5E-003\t1.000000000000000E+000\r\n"
         "2\t1.6\t0.110\t2.5E-003\t1.000000000000000E+000\r\n"
         "2\t1.7\t0.100\t-1.0E-003\t2.000000000000000E+000\r\n"
         "2\t1.8\t0.090\t-2.0E-003\t2.000000000000000E+000";
}

// A cycle going negative first from 0.1 V: down to -0.1 V and back, the vertex not repeated.
inline std::string ChiSample() {
  return "June 13, 2024   13:13:28\n"
         "Cyclic Voltammetry\n"
         "File: c:\\data\\cv.bin\n"
         "Data Source:  Experiment\n"
         "Instrument Model:  CHI660E\n"
         "\n"
         "Init E (V) = 0.1\n"
         "High E (V) = 0.1\n"
         "Low E (V) = -0.1\n"
         "Init P/N = N\n"
         "Scan Rate (V/s) = 0.05\n"
         "Segment = 2\n"
         "Sample Interval (V) = 0.1\n"
         "\n"
         "Potential/V, Current/A\n"
         "\n"
         "0.100, 1.000e-6\n"
         "0.000, -2.000e-6\n"
         "-0.100, -3.000e-6\n"
         "0.000, 1.500e-6\n";
}

// An open-circuit table first, then the working electrode's two tables; mV units in labels.
inline std::string GamrySample() {
  return "EXPLAIN\n"
         "TAG\tCV\n"
         "NOTES\tNOTES\t1\t&Notes...\n"
         "\tsome note\n"
         "VINIT\tPOTEN\t0.00000E+000\tT\tInitial &E (V)\n"
         "VLIMIT1\tPOTEN\t-5.00000E-001\tF\tScan Limit &1 (V)\n"
         "VLIMIT2\tPOTEN\t5.00000E-001\tF\tScan Limit &2 (V)\n"
         "SCANRATE\tQUANT\t2.00000E+001\t&Scan Rate (mV/s)\n"
         "STEPSIZE\tQUANT\t5.00000E+000\tSt&ep Size (mV)\n"
         "AREA\tQUANT\t7.10000E-002\tElectrode &Area (cm^2)\n"
         "OCVCURVE\tTABLE\t2\n"
         "\tPt\tT\tVf\tVm\tAch\tOver\tTemp\n"
         "\t#\ts\tV vs. Ref.\tV\tV\tbits\tdeg C\n"
         "\t0\t0.25\t1.00E-001\t1.00E-001\t0\t...........\t-327.66\n"
         "\t1\t0.50\t1.01E-001\t1.01E-001\t0\t...........\t-327.66\n"
         "EOC\tQUANT\t0.101\tOpen Circuit (V)\n"
         "CURVE1\tTABLE\n"
         "\tPt\tT\tVf\tIm\tVu\tSig\tAch\tIERange\tOver\tTemp\n"
         "\t#\ts\tV vs. Ref.\tA\tV\tV\tV\t#\tbits\tdeg C\n"
         "\t0\t0.02\t1.01000E-001\t2.00000E-007\t0\t0\t0\t9\t...........\t-327.66\n"
         "\t1\t0.27\t9.60000E-002\t1.00000E-007\t0\t0\t0\t9\t....ih..i..\t-327.66\n"
         "CURVE2\tTABLE\n"
         "\tPt\tT\tVf\tIm\tVu\tSig\tAch\tIERange\tOver\tTemp\n"
         "\t#\ts\tV vs. Ref.\tA\tV\tV\tV\t#\tbits\tdeg C\n"
         "\t2\t0.52\t9.10000E-002\t-1.00000E-007\t0\t0\t0\t9\t...........\t-327.66\n";
}

// A PSTrace CSV of two scans side by side in V and µA, the second one point shorter.
inline std::string PalmSensCsvSample() {
  return "Date and time:,2024-10-29 08:21:43\r\n"
         "Notes:\r\n"
         ",,,\r\n"
         "Cyclic Voltammetry: CV i vs E Scan 1,,Cyclic Voltammetry: CV i vs E Scan 2,\r\n"
         "Date and time measurement:,2024-10-29 08:19:10,\r\n"
         "V,\xC2\xB5"
         "A,V,\xC2\xB5"
         "A\r\n"
         "-0.5,-1.25,-0.5,-1.5\r\n"
         "-0.4,-0.75,-0.4,-1\r\n"
         "-0.3,0.5,,";
}

// PSTrace 5.0's lowercase keys, a CV method, and the stray U+FEFF at the end; as UTF-8 (the
// import reads the UTF-16 of the real files the same way once decoded).
inline std::string PsSessionSample() {
  return "{\"type\":\"PalmSens.DataFiles.SessionFile\",\"measurements\":[{\"title\":\"Cyclic "
         "Voltammetry\",\"method\":\"METHOD_ID=cv\\r\\nE_BEGIN=-1.0E-001\\r\\nE_VTX1=5.0E-001"
         "\\r\\nE_VTX2=-1.0E-001\\r\\nE_STEP=1.0E-002\\r\\nSCAN_RATE=5.0E-002\\r\\n\","
         "\"curves\":[{\"title\":\"Scan 1\",\"xaxisdataarray\":{\"datavalues\":[{\"v\":-0.1},"
         "{\"v\":0.0},{\"v\":0.1}]},\"yaxisdataarray\":{\"unit\":{\"type\":"
         "\"PalmSens.Units.MicroAmpere\",\"s\":\"A\"},\"datavalues\":[{\"v\":-1.5},{\"v\":2},"
         "{\"v\":3.25}]}}]}]}\xEF\xBB\xBF";
}

}  // namespace qalto
