#include "analyzer/process_end.h"

#include "analyzer/process_tree.h"
#include "host/module_globals.h"
#include "host/standard_output.h"
#include "python/objects.h"

#ifndef _WIN32
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#endif

namespace vanalyzer {

#ifdef _WIN32

void endProcessTree() {
  python::Ref os = host::moduleGlobal("os");
  python::Ref pid = python::callMethod(os.get(), "getpid");
  // The pipe is dropped at once: the command's output is never read.
  python::callMethod(os.get(), "popen", python::text(windowsTerminationCommand(python::asInteger(pid.get()))));
}

#else

namespace {

std::vector<std::pair<int, int>> processTable() {
  std::vector<std::pair<int, int>> table;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return table;
  while (const dirent* entry = readdir(proc)) {
    const std::string name = entry->d_name;
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat("/proc/" + name + "/stat");
    std::stringstream content;
    content << stat.rdbuf();
    if (const auto parent = parentFromStatLine(content.str())) table.emplace_back(std::stoi(name), *parent);
  }
  closedir(proc);
  return table;
}

}  // namespace

void endProcessTree() {
  host::flushStandardStreams();
  const int self = static_cast<int>(getpid());
  // Stop the tree first so that no process forks or loses its parent while it is being walked;
  // a stopped process keeps its children attached, so later rounds still find them.
  std::set<int> stopped;
  for (int round = 0; round < 64; ++round) {
    bool foundNew = false;
    for (int process : descendantsOf(self, processTable())) {
      if (stopped.insert(process).second) {
        kill(process, SIGSTOP);
        foundNew = true;
      }
    }
    if (!foundNew) break;
  }
  for (int process : stopped) kill(process, SIGKILL);
  kill(self, SIGKILL);
  for (;;) pause();
}

#endif

}  // namespace vanalyzer
