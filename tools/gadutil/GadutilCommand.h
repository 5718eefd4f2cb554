#pragma once
// gadutil's commands register themselves by name; main() dispatches on argv[1].
//
//   static GadutilCommand json("json", "json [--fragment] [--pretty] [--max-depth N]", runJson);
//
// A command gets the words after its name and returns the exit status. By the tool's
// convention it writes its result and a line feed to standard output and exits 0, or writes
// the failure message to standard output and exits 1.
#include <functional>
#include <map>
#include <string>
#include <vector>

struct GadutilCommand {
  using Run = std::function<int(const std::vector<std::string>& args)>;
  GadutilCommand(std::string name, std::string usage, Run run);

  static const std::map<std::string, std::pair<std::string, Run>>& all();
};
