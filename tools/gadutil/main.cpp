// gadutil: a command-line tool over the ad layer's codecs and parsers, for people debugging
// ad traffic. Each command lives in its own file and registers itself (GadutilCommand.h).
#include <cstdio>
#include <string>
#include <vector>

#include "GadutilCommand.h"
#include "sdk/encoding/DOZStackTraceReports.h"

namespace {
std::map<std::string, std::pair<std::string, GadutilCommand::Run>>& registry() {
  static std::map<std::string, std::pair<std::string, GadutilCommand::Run>> commands;
  return commands;
}

void usage(FILE* out) {
  std::fprintf(out, "usage: gadutil <command> [arguments]\n\ncommands:\n");
  for (const auto& [name, entry] : registry()) std::fprintf(out, "  gadutil %s\n", entry.first.c_str());
}
}  // namespace

GadutilCommand::GadutilCommand(std::string name, std::string usageText, Run run) {
  registry()[std::move(name)] = {std::move(usageText), std::move(run)};
}

const std::map<std::string, std::pair<std::string, GadutilCommand::Run>>& GadutilCommand::all() {
  return registry();
}

int main(int argc, char** argv) {
  DOZInstallStackTraceReports();
  if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
    usage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  auto it = registry().find(argv[1]);
  if (it == registry().end()) {
    std::fprintf(stderr, "gadutil: unknown command '%s'\n", argv[1]);
    usage(stderr);
    return 2;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  return it->second.second(args);
}
