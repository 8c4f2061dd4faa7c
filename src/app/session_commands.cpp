// The File menu's session commands: Save Session, Open Session and Run Script.

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/app.h"
#include "app/script_parameters.h"
#include "app/script_runner.h"
#include "app/script_words.h"
#include "app/session_script.h"
#include "common/file_replacement.h"
#include "common/run_monitor.h"

namespace qalto {
namespace {

constexpr const char* kSessionFilter = "Qalto session (*.qs)|*.qs|all|*.*";
constexpr const char* kScriptFilter = "Qalto script (*.qs)|*.qs|all|*.*";
// Bytes: the largest session the program writes (eight curves of 100000 points with a
// measured file of 1.6 million) is some 200 MB; reading one takes about five times its size.
constexpr std::uintmax_t kLargestSession = std::uintmax_t{256} << 20;
constexpr int kDeepestScript = 4;               // scripts that run scripts
constexpr size_t kReadBlock = size_t{1} << 20;  // bytes read at a time

// The whole file, or nothing after a message naming the file and the reason.
std::optional<std::string> ReadWholeFile(Platform& platform, const std::string& prefix,
                                         const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    platform.MessageBox(prefix + "\"" + path + "\" is no file that can be read.");
    return std::nullopt;
  }
  std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kLargestSession) {
    platform.MessageBox(prefix + "\"" + path + "\" is larger than 256 MB.");
    return std::nullopt;
  }
  // Read in blocks, each reported in kilobytes, so that a window can show how far it is and a
  // Cancel stops it.
  std::ifstream file(path, std::ios::binary);
  std::string text;
  text.reserve(static_cast<size_t>(size));
  std::vector<char> block(kReadBlock);
  while (file) {
    file.read(block.data(), static_cast<std::streamsize>(block.size()));
    text.append(block.data(), static_cast<size_t>(file.gcount()));
    PollPoint(static_cast<int>(text.size() >> 10), static_cast<int>(size >> 10));
  }
  if (file.bad()) {
    platform.MessageBox(prefix + "\"" + path + "\" could not be read.");
    return std::nullopt;
  }
  return text;
}

// The lines of a script that write or print files, each with the file its dialog answer names.
std::vector<std::string> FileWritingLines(const std::string& script) {
  std::vector<std::string> found;
  std::istringstream lines(script);
  std::string line;
  std::string answer;
  for (int number = 1; ReadScriptLine(lines, line); ++number) {
    std::vector<std::string> words;
    try {
      words = SplitScriptLine(line);
    } catch (const ScriptSyntaxError&) {
      continue;  // the run stops at this line
    }
    if (words.empty() || words[0].front() == '#') continue;
    if (words[0] == "dialog" && words.size() == 2) {
      answer = words[1];
      continue;
    }
    std::string does = WhatTheLineDoes(words);
    if (does == "writes or prints files" || does == "exits the program") {
      std::string target = words[0] == "plot" || answer.empty() ? "" : " (" + answer + ")";
      found.push_back("line " + std::to_string(number) + ": " + line + target);
    }
    answer.clear();
  }
  return found;
}

}  // namespace

void App::mnuSaveSession_Click() {
  std::optional<std::string> path = platform_.SaveFileDialog(kSessionFilter);
  if (path) SaveSessionTo(*path);
}

void App::mnuOpenSession_Click() {
  if (HasUnsavedWork() &&
      !platform_.Confirm("The work since the session was last saved will be lost. Open another "
                         "session all the same?"))
    return;
  std::optional<std::string> path = platform_.OpenFileDialog(kSessionFilter);
  if (path) OpenSessionFrom(*path);
}

void App::mnuRunScript_Click() {
  std::optional<std::string> path = platform_.OpenFileDialog(kScriptFilter);
  if (path) RunScriptFrom(*path);
}

bool App::SaveSessionTo(const std::string& path) {
  if (sessionSaving) sessionSaving();
  std::string session = SessionScript(*this);
  try {
    // Written whole beside the target and renamed over it: a failed save keeps the old session.
    ReplaceFile(path, session);
  } catch (const RuntimeError& error) {
    platform_.MessageBox(FileWriteMessage("Save Session Error", path, error));
    return false;
  }
  MarkWorkSaved();
  if (sessionSaved) sessionSaved(path);
  return true;
}

bool App::OpenSessionFrom(const std::string& path) {
  const std::string prefix = "Open Session Error: ";
  std::optional<std::string> text = ReadWholeFile(platform_, prefix, path);
  if (!text) return false;
  SessionState state;
  try {
    state = ReadSessionText(*this, *text);
  } catch (const SessionError& error) {
    platform_.MessageBox(prefix + path + ", " + error.what() +
                         ". Nothing of the session was applied; a script with commands runs with "
                         "File > Run Script.");
    return false;
  }
  RestoreSession(std::move(state));
  MarkWorkSaved();
  if (sessionOpened) sessionOpened(path);
  return true;
}

bool App::RunScriptFrom(const std::string& path) {
  const std::string prefix = "Run Script Error: ";
  auto* recording = dynamic_cast<RecordingPlatform*>(&platform_);
  if (recording == nullptr || scriptDepth_ >= kDeepestScript) {
    platform_.MessageBox(prefix + "scripts run inside each other at most " +
                         std::to_string(kDeepestScript) + " deep.");
    return false;
  }
  std::optional<std::string> text = ReadWholeFile(platform_, prefix, path);
  if (!text) return false;
  std::vector<std::string> writing = FileWritingLines(*text);
  if (!writing.empty()) {
    std::string question = "The script " + path + " writes or prints files or ends the program:";
    for (const std::string& line : writing)
      question += "\n" + line;
    if (!platform_.Confirm(question + "\nRun it?")) return false;
  }
  auto messageSink = recording->messageSink;
  auto questionSink = recording->questionSink;
  std::istringstream script(*text);
  std::ostringstream out, err;
  ++scriptDepth_;
  int status = kExitRan;
  {
    ScriptRunner runner(*this, *recording, out);
    runner.plotWriter = pictureWriter;
    status = runner.Run(script, err);
  }
  --scriptDepth_;
  recording->messageSink = messageSink;
  recording->questionSink = questionSink;
  // What the script printed goes into the result window.
  std::istringstream printed(out.str());
  for (std::string line; std::getline(printed, line);)
    result_.Print({PrintItem::Text(line, Separator::kLineEnd)});
  if (status == kExitScriptLine) {
    std::string reason = err.str();
    while (!reason.empty() && reason.back() == '\n')
      reason.pop_back();
    platform_.MessageBox(prefix + path + ", " + reason);
  }
  return status == kExitRan;
}

// The work of a session: the windows aside, and the model's settings too, which the forms
// give it whenever they are applied (the curves and results stay).
std::string App::WorkInSession() {
  std::istringstream session(SessionScript(*this, false));
  std::string work;
  for (std::string line; std::getline(session, line);) {
    if (line.rfind("field ", 0) != 0) work += line + "\n";
  }
  return work;
}

bool App::HasUnsavedWork() {
  if (!savedSession_) {
    RecordingPlatform quiet;
    App started(quiet, programFolder_);
    savedSession_ = started.WorkInSession();
  }
  return WorkInSession() != *savedSession_;
}

void App::MarkWorkSaved() {
  savedSession_ = WorkInSession();
}

}  // namespace qalto
