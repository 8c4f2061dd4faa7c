// The inputs of a qalto-batch run: parameter references in script lines, manifest rows and the
// command line.

#include <gtest/gtest.h>

#include <sstream>

#include "app/batch_manifest.h"
#include "app/batch_options.h"
#include "app/script_parameters.h"

namespace qalto {
namespace {

TEST(ExpandParameters, ReplacesReferencesAndNamesTheMissingOne) {
  const ScriptParameters values = {{"ks", "1e-3"}, {"E0", "-0.05"}, {"scan", "2 cycles"}};
  const std::pair<std::string, std::string> cases[] = {
      // a line, its expansion or the error
      {"set FormExpr.ks(1) $ks", "set FormExpr.ks(1) 1e-3"},
      {"set FormExpr.Eze(1) ${E0}1", "set FormExpr.Eze(1) -0.051"},
      {"select FormIns.ComboScan \"$scan\"", "select FormIns.ComboScan \"2 cycles\""},
      {"echo $$ks costs $5 and $ alone", "echo $ks costs $5 and $ alone"},
      {"echo $ks.$E0", "echo 1e-3.-0.05"},
      {"set FormExpr.ks(1) $kz", "parameter kz is not set"},
      {"echo ${ks", "malformed parameter reference ${...}"},
      {"echo ${1a}", "malformed parameter reference ${...}"},
  };
  for (const auto& [line, expanded] : cases) {
    std::set<std::string> used;
    std::string result;
    try {
      result = ExpandParameters(line, values, used);
    } catch (const ParameterError& error) {
      result = error.what();
    }
    EXPECT_EQ(result, expanded) << line;
  }
  std::set<std::string> used;
  ExpandParameters("$ks ${ks} $$E0", values, used);
  EXPECT_EQ(used, (std::set<std::string>{"ks"}));
}

TEST(ParseBatchOptions, ReadsARunAndNamesWhatIsWrong) {
  BatchOptions options;
  EXPECT_EQ(ParseBatchOptions({"--param", "ks=1e-3", "--param=E0=0.1", "--set",
                               "FormIns.Noise=1e-7", "--seed=42", "--manifest", "jobs.tsv",
                               "--task", "7", "--out", "c.csv", "--json", "r.json", "run.qs"},
                              options),
            "");
  EXPECT_EQ(options.script, "run.qs");
  EXPECT_EQ(options.parameters,
            (std::vector<std::pair<std::string, std::string>>{{"ks", "1e-3"}, {"E0", "0.1"}}));
  EXPECT_EQ(options.settings,
            (std::vector<std::pair<std::string, std::string>>{{"FormIns.Noise", "1e-7"}}));
  EXPECT_EQ(options.seed, 42u);
  EXPECT_EQ(options.task, 7);
  EXPECT_EQ(ReadSeed("18446744073709551615"), 18446744073709551615u);
  BatchOptions limited;
  EXPECT_EQ(ParseBatchOptions({"--time-limit", "2.5", "run.qs"}, limited), "");
  EXPECT_EQ(limited.timeLimit, 2.5);

  const std::pair<std::vector<std::string>, std::string> bad[] = {
      {{"--param", "ks", "run.qs"},
       "--param takes name=value with a name of letters, digits "
       "and _: ks"},
      {{"--set", "Noise=1", "run.qs"}, "--set takes Form.Control=value: Noise=1"},
      {{"--seed", "-1", "run.qs"}, "--seed takes a whole number from 0: -1"},
      {{"--seed", "18446744073709551616", "run.qs"},
       "--seed takes a whole number from 0: 18446744073709551616"},
      {{"--manifest", "jobs.tsv", "--task", "0", "run.qs"}, "--task takes a row number from 1: 0"},
      {{"--task", "3", "run.qs"}, "--task needs a --manifest"},
      {{"--frobnicate", "1", "run.qs"}, "unknown option --frobnicate"},
      {{"run.qs", "--json"}, "--json needs a value"},
      {{"a.qs", "b.qs"}, "more than one script given"},
      {{}, "no script given"},
      {{"--merge"}, "--merge needs the records to gather"},
      {{"--json=", "run.qs"}, "--json needs a file name"},
      {{"--time-limit", "0", "run.qs"}, "--time-limit takes a number of seconds above 0: 0"},
      {{"--time-limit", "1e3", "run.qs"}, "--time-limit takes a number of seconds above 0: 1e3"},
      {{"--param", "E0\xC2\xA0=1", "run.qs"},
       "--param takes name=value with a name of letters, digits and _: E0\xC2\xA0=1 (it holds "
       "the invisible character U+00A0)"},
  };
  for (const auto& [words, error] : bad) {
    BatchOptions parsed;
    EXPECT_EQ(ParseBatchOptions(words, parsed), error);
  }
}

// Rows and ranges of --tasks, and what a list of several tasks needs of the output names.
TEST(ParseBatchOptions, ReadsTheTasksOfOneProcess) {
  BatchOptions options;
  EXPECT_EQ(ParseBatchOptions({"--manifest", "jobs.tsv", "--tasks", "1-5,9,12-14", "--json",
                               "runs/{}.json", "--out", "runs/{}.csv", "run.qs"},
                              options),
            "");
  EXPECT_EQ(options.tasks, (TaskList{{1, 5}, {9, 9}, {12, 14}}));
  EXPECT_EQ(TaskCount(options.tasks), 9);
  BatchOptions one;
  EXPECT_EQ(
      ParseBatchOptions({"--manifest", "m.tsv", "--tasks", "7", "--json", "r.json", "a.qs"}, one),
      "");
  EXPECT_EQ(one.tasks, (TaskList{{7, 7}}));

  for (const char* tasks : {"", "0-3", "5-2", "1,,2", "1-", "-3", "1-2-3", "2147483648"}) {
    BatchOptions parsed;
    EXPECT_EQ(ParseBatchOptions({"--manifest", "m.tsv", "--tasks", tasks, "a.qs"}, parsed),
              std::string("--tasks takes rows from 1 and ranges such as 1-5,9,12-14: ") + tasks);
  }
  const std::pair<std::vector<std::string>, std::string> bad[] = {
      {{"--tasks", "1-3", "a.qs"}, "--tasks needs a --manifest"},
      {{"--manifest", "m.tsv", "--task", "2", "--tasks", "1-3", "a.qs"},
       "--task and --tasks cannot go together"},
      {{"--manifest", "m.tsv", "--tasks", "1-3", "--json", "r.json", "a.qs"},
       "--tasks with several tasks needs {} (the task) in the names of --json and --out"},
      {{"--manifest", "m.tsv", "--tasks", "1,2", "--json", "{}.json", "--out", "c.csv", "a.qs"},
       "--tasks with several tasks needs {} (the task) in the names of --json and --out"},
  };
  for (const auto& [words, error] : bad) {
    BatchOptions parsed;
    EXPECT_EQ(ParseBatchOptions(words, parsed), error) << words[words.size() > 3 ? 3 : 0];
  }
}

// A manifest read once answers every task, or names what is wrong with it.
TEST(Manifest, AnswersEachTaskOrNamesWhatIsWrong) {
  const std::string text = "E0\tks\n0.1\t1e-3\n\n0.2\t1e-2\r\n0.3\n";
  std::istringstream once(text);
  Manifest manifest(once, "jobs.tsv");
  const std::pair<long, std::string> cases[] = {
      {1, "E0=0.1;ks=1e-3;"},
      {2, "E0=0.2;ks=1e-2;"},
      {3, "jobs.tsv line 5: 1 values for 2 parameters"},
      {4, "task 4 is beyond the last row of jobs.tsv (3 tasks)"},
      {0, "task 0: tasks are counted from 1"},
  };
  for (const auto& [task, expected] : cases) {
    std::string error;
    ScriptParameters parameters = manifest.Task(task, error);
    std::string got = error;
    for (const auto& [name, value] : parameters)
      got += name + "=" + value + ";";
    EXPECT_EQ(got, expected) << task;
  }
  std::istringstream badHeader("E0\tE0\n1\t2\n");
  std::string error;
  Manifest(badHeader, "m.tsv").Task(1, error);
  EXPECT_EQ(error, "m.tsv line 1: parameter E0 named twice");
}

// A name that is no UTF-8 text is named by its byte (a byte-order mark and an invisible
// character: truthful_runner.sh).
TEST(ReadManifestTask, NamesAByteThatIsNoText) {
  std::string error;
  std::istringstream latin("E\xB0\n1\n");
  ReadManifestTask(latin, "jobs.tsv", 1, error);
  EXPECT_EQ(error,
            "jobs.tsv line 1: not a parameter name: \"E\xB0\" (it holds the byte 0xB0, no "
            "UTF-8 text)");
}

}  // namespace
}  // namespace qalto
